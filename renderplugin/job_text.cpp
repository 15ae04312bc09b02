#include "renderplugin/job_text.h"

namespace moltr::render {

namespace {

bool BreaksQuotedValue(WCHAR c) {
    return c == L'"' || c < 0x20 || c == 0x7F;
}

} // namespace

void QuotedValue(LPCWSTR source, DWORD limit, WCHAR (&value)[kJobTextRoom]) {
    DWORD count = 0;
    for (; source != nullptr && source[count] != L'\0' && count < limit && count < kJobTextRoom - 1;
         ++count) {
        value[count] = BreaksQuotedValue(source[count]) ? L' ' : source[count];
    }
    value[count] = L'\0';
}

DWORD ApplicationPartLength(LPCWSTR documentName) {
    for (DWORD i = 0; documentName != nullptr && documentName[i] != L'\0'; ++i) {
        if (documentName[i] == L'-') {
            return i;
        }
    }
    return 0;
}

ZoneOffset SubmissionZone(LONG bias) {
    LONG quotient = bias / 60;
    return quotient < 0 ? ZoneOffset{L"+", static_cast<int>(-quotient)}
                        : ZoneOffset{L"-", static_cast<int>(quotient)};
}

} // namespace moltr::render

#include "notifier/notifier_request.h"

#include <cstring>

namespace moltr::notifier {

void RequestBuffer::Added(DWORD count) {
    used_ += count < Room() ? count : Room();
}

bool TakeWholeRequest(const RequestBuffer& buffer, NotifierRequest* request) {
    if (!buffer.Full()) {
        return false;
    }
    NotifierRequest whole;
    std::memcpy(&whole, buffer.Bytes(), kRequestSize);
    whole.printerName[kPrinterNameChars - 1] = 0;
    if (whole.processId == 0 || whole.printerName[0] == 0) {
        return false;
    }
    *request = whole;
    return true;
}

NotifierRequest MakeRequest(DWORD processId, LPCWSTR printerName) {
    NotifierRequest request = {};
    request.processId = processId;
    for (DWORD i = 0; printerName != nullptr && i + 1 < kPrinterNameChars && printerName[i] != 0;
         ++i) {
        request.printerName[i] = printerName[i];
    }
    return request;
}

} // namespace moltr::notifier

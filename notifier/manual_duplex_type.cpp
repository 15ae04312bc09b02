#include "notifier/manual_duplex_type.h"

namespace moltr::notifier {

namespace {

constexpr DWORD kManualDuplex = 2;
constexpr DWORD kManualDuplexBack = 3;

} // namespace

bool DuplexesByHand(common::IDrvSettings& settings) {
    DWORD type = 0;
    if (FAILED(settings.GetValue(nullptr, L"_DUPLEXTYPE", &type, sizeof type,
                                 common::kLayoutPrinterSettings))) {
        type = 0;
    }
    return type == kManualDuplex || type == kManualDuplexBack;
}

} // namespace moltr::notifier

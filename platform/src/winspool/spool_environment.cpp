// Driver environments: the names that GetPrinterDriver* and the driver installation accept.
#include "src/winspool/spool_environment.h"
#include "src/winspool/spool_names.h"
#include "sim/utf.h"

namespace moltr::spool {
namespace {

constexpr Environment kEnvironments[] = {
    {u"Windows x64", u"x64"},
    {u"Windows NT x86", u"W32X86"},
};

constexpr const char16_t* kSpoolDirectory = u"C:\\Windows\\System32\\spool";

} // namespace

std::span<const Environment> Environments() {
    return kEnvironments;
}

const Environment& NativeEnvironment() {
    return kEnvironments[0];
}

const Environment* FindEnvironment(const WCHAR* name) {
    std::u16string_view wanted = sim::View(name);
    if (wanted.empty()) {
        return &NativeEnvironment();
    }
    for (const Environment& environment : kEnvironments) {
        if (SameName(environment.name, wanted)) {
            return &environment;
        }
    }
    return nullptr;
}

std::u16string DriverDirectory(const Environment& environment) {
    return std::u16string(kSpoolDirectory) + u"\\drivers\\" + environment.folder;
}

std::u16string DriverFilesDirectory(const Environment& environment) {
    return DriverDirectory(environment) + u"\\3";
}

std::u16string PrintProcessorDirectory(const Environment& environment) {
    return std::u16string(kSpoolDirectory) + u"\\prtprocs\\" + environment.folder;
}

} // namespace moltr::spool

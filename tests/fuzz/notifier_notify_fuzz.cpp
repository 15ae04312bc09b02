// The job items of printer change notifications, as the notifier's monitor hands them to its job
// handling: any sequence of fields, ids and values on a raster or other printer, with job reads
// and pauses that fail as the input says. The activity count never drops below the one client's.
#include <cstdlib>
#include <vector>
#include <winspool.h>
#include "fuzz_input.h"
#include "notifier/notification_items.h"

using namespace moltr::notifier;

namespace {

class FuzzActions : public JobActions {
public:
    explicit FuzzActions(moltr::fuzz::FuzzInput& input) : input_(input) {}
    bool ReadDuplex(DWORD, bool* duplex) override {
        BYTE answer = input_.Byte();
        *duplex = (answer & 2) != 0;
        return (answer & 1) == 0;
    }
    bool Pause(DWORD) override { return (input_.Byte() & 1) == 0; }
    bool Resume(DWORD) override { return true; }
    void ShowDialog(HWND) override {}

private:
    moltr::fuzz::FuzzInput& input_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    moltr::fuzz::FuzzInput input(data, size);
    NotifierState state;
    PrinterWatch printer = {};
    printer.printer = reinterpret_cast<HANDLE>(1);
    printer.pdlType = input.Byte() % 64;
    ClientProcess client = {1, nullptr, nullptr};
    state.AddActivity();
    state.SetCurrent(&printer, &client);
    FuzzActions actions(input);
    JobHandling handling(state, printer, actions);
    while (input.left() > 0) {
        DWORD count = input.Byte() % 8 + 1;
        std::vector<BYTE> block(sizeof(PRINTER_NOTIFY_INFO) +
                                count * sizeof(PRINTER_NOTIFY_INFO_DATA));
        auto* info = reinterpret_cast<PRINTER_NOTIFY_INFO*>(block.data());
        info->Count = count;
        for (DWORD i = 0; i < count; ++i) {
            PRINTER_NOTIFY_INFO_DATA& item = info->aData[i];
            item.Type = input.Byte() % 3;
            item.Field = input.Byte() % 0x1A;
            item.Id = input.Byte() % 70;
            item.NotifyData.adwData[0] = input.Dword();
        }
        HandleNotifyItems(*info, handling, (input.Byte() & 1) != 0);
        if (state.Activity() < 1) {
            std::abort();
        }
    }
    handling.ReleaseHeldJobs();
    return 0;
}

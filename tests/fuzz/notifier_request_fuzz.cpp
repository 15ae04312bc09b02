// The bytes a client writes to the notifier pipe, in pieces of the sizes the input chooses, as the
// server joins and checks them: never more than one request kept, a taken request always whole.
#include <cstdlib>
#include <cstring>
#include "fuzz_input.h"
#include "notifier/notifier_request.h"

using namespace moltr::notifier;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    moltr::fuzz::FuzzInput input(data, size);
    RequestBuffer buffer;
    while (input.left() > 0 && !buffer.Full()) {
        DWORD piece = input.Word() % (kRequestSize + 64) + 1;
        DWORD asked = buffer.Room(); // a read never asks for more than the room left
        DWORD got = piece < asked ? piece : asked;
        for (DWORD i = 0; i < got; ++i) {
            buffer.End()[i] = input.Byte();
        }
        buffer.Added(got);
    }
    NotifierRequest request;
    if (TakeWholeRequest(buffer, &request)) {
        bool terminated = false;
        for (WCHAR c : request.printerName) {
            terminated = terminated || c == 0;
        }
        if (!buffer.Full() || request.processId == 0 || request.printerName[0] == 0 ||
            !terminated) {
            std::abort();
        }
    }
    return 0;
}

// The notifier's request as the pipe server joins and checks it, and the pipe name both sides
// build.
#include <gtest/gtest.h>
#include <cstring>
#include "notifier/notifier_request.h"
#include "notifier/pipe_name.h"
#include "sim/utf.h"

using namespace moltr::notifier;

namespace {

void Append(RequestBuffer& buffer, const void* bytes, DWORD count) {
    DWORD kept = count < buffer.Room() ? count : buffer.Room();
    std::memcpy(buffer.End(), bytes, kept);
    buffer.Added(count);
}

std::string PipeName(LPCWSTR path) {
    WCHAR name[kPipeNameChars];
    return NotifierPipeName(path, name) ? moltr::sim::Utf8(name) : "(none)";
}

} // namespace

TEST(NotifierRequest, PiecesAreJoinedIntoOneRequest) {
    NotifierRequest sent = MakeRequest(4242, L"\\\\server\\Moltr C5");
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&sent);
    RequestBuffer buffer;
    Append(buffer, bytes, 3);
    Append(buffer, bytes + 3, 200);
    EXPECT_FALSE(buffer.Full());
    Append(buffer, bytes + 203, kRequestSize - 203);

    NotifierRequest got = {};
    ASSERT_TRUE(TakeWholeRequest(buffer, &got));
    EXPECT_EQ(got.processId, 4242u);
    EXPECT_EQ(moltr::sim::Utf8(got.printerName), "\\\\server\\Moltr C5");
}

TEST(NotifierRequest, NoMoreThanOneRequestIsKept) {
    BYTE big[600];
    std::memset(big, 0x41, sizeof big);
    RequestBuffer buffer;
    Append(buffer, big, sizeof big);
    EXPECT_EQ(buffer.Size(), kRequestSize);
    EXPECT_EQ(buffer.Room(), 0u);
    Append(buffer, big, 10);
    EXPECT_EQ(buffer.Size(), kRequestSize);
}

TEST(NotifierRequest, AFullNameIsCutAtItsLastCharacter) {
    NotifierRequest full;
    full.processId = 5;
    for (WCHAR& c : full.printerName) {
        c = L'A'; // no terminator anywhere
    }
    RequestBuffer buffer;
    Append(buffer, &full, kRequestSize);
    NotifierRequest got;
    ASSERT_TRUE(TakeWholeRequest(buffer, &got));
    EXPECT_EQ(got.printerName[kPrinterNameChars - 1], 0);
    EXPECT_EQ(moltr::sim::Utf8(got.printerName).size(), kPrinterNameChars - 1);
}

TEST(NotifierRequest, ShortZeroProcessAndEmptyNameRequestsAreIgnored) {
    NotifierRequest untouched = MakeRequest(7, L"kept");
    struct Case {
        const char* what;
        NotifierRequest request;
        DWORD bytes;
    };
    const Case cases[] = {
        {"short", MakeRequest(9, L"Moltr"), kRequestSize - 1},
        {"process 0", MakeRequest(0, L"Moltr"), kRequestSize},
        {"empty name", MakeRequest(9, L""), kRequestSize},
        {"nothing", MakeRequest(9, L"Moltr"), 0},
    };
    for (const Case& c : cases) {
        RequestBuffer buffer;
        Append(buffer, &c.request, c.bytes);
        NotifierRequest got = untouched;
        EXPECT_FALSE(TakeWholeRequest(buffer, &got)) << c.what;
        EXPECT_EQ(std::memcmp(&got, &untouched, kRequestSize), 0) << c.what;
    }
}

TEST(NotifierRequest, AnApplicationSendsAtMost259NameCharactersAndZeroesTheRest) {
    WCHAR longName[300];
    for (WCHAR& c : longName) {
        c = L'p';
    }
    longName[299] = 0;
    NotifierRequest request = MakeRequest(1, longName);
    EXPECT_EQ(moltr::sim::Utf8(request.printerName), std::string(259, 'p'));
    NotifierRequest shortOne = MakeRequest(0x01020304, L"ab");
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&shortOne);
    const BYTE head[] = {4, 3, 2, 1, 'a', 0, 'b', 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes, head, sizeof head), 0);
    for (DWORD i = sizeof head; i < kRequestSize; ++i) {
        ASSERT_EQ(bytes[i], 0) << i;
    }
}

TEST(NotifierPipeName, IsTheFileNameCutAtItsLastDot) {
    EXPECT_EQ(PipeName(L"MOLTRMDN"), "\\\\.\\pipe\\MOLTRMDN");
    EXPECT_EQ(PipeName(L"MOLTRMDN.exe"), "\\\\.\\pipe\\MOLTRMDN");
    EXPECT_EQ(PipeName(L"C:\\drivers\\x64\\3\\MOLTRMDN.EXE"), "\\\\.\\pipe\\MOLTRMDN");
    EXPECT_EQ(PipeName(L"C:\\a.b\\moltr.mdn.exe"), "\\\\.\\pipe\\moltr.mdn");
    EXPECT_EQ(PipeName(L"C:\\drivers\\"), "(none)");
    EXPECT_EQ(PipeName(L".exe"), "(none)");
    EXPECT_EQ(PipeName(nullptr), "(none)");
}

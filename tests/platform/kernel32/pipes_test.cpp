// Named pipes between processes of the machine: byte pipes read in pieces, the connect and wait
// answers, busy and missing pipes, and the access each end has.
#include "platform/kernel32/machine_program.h"

#include <string>

namespace {

using moltr::test::Child;
using moltr::test::MachineProgramTest;

using Pipes = MachineProgramTest;

constexpr const WCHAR* kPipe = L"\\\\.\\pipe\\TESTPIPE";

HANDLE Server(DWORD maxInstances = PIPE_UNLIMITED_INSTANCES, DWORD extraMode = 0) {
    return CreateNamedPipeW(kPipe, PIPE_ACCESS_INBOUND | extraMode,
                            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, maxInstances, 0, 524,
                            0, nullptr);
}

HANDLE Client(DWORD access = GENERIC_WRITE, const WCHAR* name = kPipe) {
    return CreateFileW(name, access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads in pieces of `piece` bytes until the read fails; the error it failed with.
DWORD ReadAll(HANDLE pipe, DWORD piece, std::string& text) {
    char buffer[64];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, piece, &read, nullptr)) {
        EXPECT_GT(read, 0u);
        EXPECT_LE(read, piece);
        text.append(buffer, read);
    }
    return GetLastError();
}

bool Write(HANDLE pipe, const std::string& text) {
    DWORD written = 0;
    return WriteFile(pipe, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

TEST_F(Pipes, AServerJoinsWhatAnotherProcessWritesInPieces) {
    HANDLE server = Server();
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    Child client("pipe-write \\\\.\\pipe\\testpipe abc defg hij");
    ASSERT_TRUE(client.started());
    if (!ConnectNamedPipe(server, nullptr)) {
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_CONNECTED));
    }
    std::string text;
    EXPECT_EQ(ReadAll(server, 4, text), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    EXPECT_EQ(text, "abcdefghij");
    EXPECT_TRUE(FlushFileBuffers(server));
    EXPECT_TRUE(DisconnectNamedPipe(server));
    EXPECT_EQ(client.Finish(), 0u);
    EXPECT_TRUE(CloseHandle(server));
}

TEST_F(Pipes, AClientWritesToAServerInAnotherProcess) {
    const std::string report = HostFile("received");
    Child server("pipe-serve \\\\.\\pipe\\TESTPIPE " + report);
    ASSERT_TRUE(server.started());
    Await(report + ".ready");
    EXPECT_TRUE(WaitNamedPipeW(kPipe, NMPWAIT_USE_DEFAULT_WAIT));
    HANDLE client = Client();
    ASSERT_NE(client, INVALID_HANDLE_VALUE) << GetLastError();
    std::string request(524, '\0');
    for (size_t i = 0; i < request.size(); ++i) {
        request[i] = static_cast<char>('a' + i % 26);
    }
    EXPECT_TRUE(Write(client, request));
    EXPECT_TRUE(FlushFileBuffers(client)); // returns once the server has read it all
    EXPECT_TRUE(CloseHandle(client));
    EXPECT_EQ(Await(report), request);
    EXPECT_EQ(server.Finish(), 0u);
}

TEST_F(Pipes, ConnectAnswersPipeConnectedWhenTheClientCameFirst) {
    HANDLE server = Server();
    HANDLE client = Client();
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    SetLastError(0);
    EXPECT_FALSE(ConnectNamedPipe(server, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_CONNECTED));
    EXPECT_TRUE(Write(client, "xyz"));
    CloseHandle(client);
    // What the client wrote before it closed is still read, then the pipe is broken.
    std::string text;
    EXPECT_EQ(ReadAll(server, 64, text), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    EXPECT_EQ(text, "xyz");
    EXPECT_TRUE(DisconnectNamedPipe(server));
    char byte = 0;
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(server, &byte, 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_LISTENING));
    CloseHandle(server);
}

TEST_F(Pipes, PeekTellsWhatWaitsWithoutTakingItOrBlocking) {
    HANDLE server = Server();
    DWORD total = 99;
    SetLastError(0);
    EXPECT_FALSE(PeekNamedPipe(server, nullptr, 0, nullptr, &total, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_LISTENING));
    HANDLE client = Client();
    EXPECT_TRUE(PeekNamedPipe(server, nullptr, 0, nullptr, &total, nullptr));
    EXPECT_EQ(total, 0u); // a client that keeps its end open and sends nothing
    EXPECT_TRUE(Write(client, "peek"));
    char buffer[8] = {};
    DWORD read = 0, left = 99;
    EXPECT_TRUE(PeekNamedPipe(server, buffer, 2, &read, &total, &left));
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(total, 4u);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(std::string(buffer, 2), "pe");
    CloseHandle(client);
    std::string text;
    EXPECT_EQ(ReadAll(server, 64, text), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    EXPECT_EQ(text, "peek"); // the peek took nothing
    EXPECT_FALSE(PeekNamedPipe(server, nullptr, 0, nullptr, &total, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(PeekNamedPipe(event, nullptr, 0, nullptr, &total, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(event);
    CloseHandle(server);
}

TEST_F(Pipes, ABusyInstanceTurnsClientsAwayUntilItDisconnects) {
    HANDLE server = Server(1);
    HANDLE first = Client();
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    SetLastError(0);
    EXPECT_EQ(Client(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_BUSY));
    EXPECT_FALSE(WaitNamedPipeW(kPipe, 30));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SEM_TIMEOUT));
    EXPECT_FALSE(WaitNamedPipeW(kPipe, NMPWAIT_USE_DEFAULT_WAIT)); // the system's 50 ms
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SEM_TIMEOUT));
    EXPECT_TRUE(DisconnectNamedPipe(server));
    // The disconnected client's end is dead.
    EXPECT_FALSE(Write(first, "late"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_DATA));
    CloseHandle(first);
    EXPECT_TRUE(WaitNamedPipeW(kPipe, 5000));
    HANDLE second = Client();
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    CloseHandle(second);
    CloseHandle(server);
}

TEST_F(Pipes, UnlimitedInstancesServeOneClientEach) {
    HANDLE one = Server();
    HANDLE two = Server();
    ASSERT_NE(two, INVALID_HANDLE_VALUE);
    HANDLE a = Client();
    HANDLE b = Client();
    EXPECT_NE(a, INVALID_HANDLE_VALUE);
    EXPECT_NE(b, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Client(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_BUSY));
    for (HANDLE handle : {a, b, one, two}) {
        CloseHandle(handle);
    }
}

TEST_F(Pipes, MissingPipesAreNotFound) {
    SetLastError(0);
    EXPECT_EQ(Client(GENERIC_WRITE, L"\\\\.\\pipe\\NOSUCHPIPE"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(WaitNamedPipeW(L"\\\\.\\pipe\\NOSUCHPIPE", 1000));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    HANDLE server = Server();
    CloseHandle(server);
    EXPECT_EQ(Client(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(WaitNamedPipeW(L"C:\\not a pipe", 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_PATHNAME));
}

TEST_F(Pipes, CreateAndAccessFailureAnswers) {
    auto create = [](const WCHAR* name, DWORD open, DWORD pipe, DWORD instances) {
        SetLastError(0);
        HANDLE handle = CreateNamedPipeW(name, open, pipe, instances, 0, 524, 0, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
            return DWORD{ERROR_SUCCESS};
        }
        return GetLastError();
    };
    EXPECT_EQ(create(L"\\\\.\\notpipe\\X", PIPE_ACCESS_INBOUND, 0, 1),
              static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_EQ(create(kPipe, 0, 0, 1), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(create(kPipe, PIPE_ACCESS_INBOUND, 0, 0),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(create(kPipe, PIPE_ACCESS_INBOUND, PIPE_READMODE_MESSAGE, 1),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    HANDLE server = Server(1);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    EXPECT_EQ(create(kPipe, PIPE_ACCESS_INBOUND, 0, 1), static_cast<DWORD>(ERROR_PIPE_BUSY));
    EXPECT_EQ(create(kPipe, PIPE_ACCESS_INBOUND | FILE_FLAG_FIRST_PIPE_INSTANCE, 0, 4),
              static_cast<DWORD>(ERROR_ACCESS_DENIED));
    // The inbound server only reads; its client only writes.
    SetLastError(0);
    EXPECT_EQ(Client(GENERIC_READ | GENERIC_WRITE), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    HANDLE client = Client();
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Write(server, "no"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    char byte = 0;
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(client, &byte, 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(client);
    CloseHandle(server);

    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(ConnectNamedPipe(event, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(DisconnectNamedPipe(event));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(event);
}

} // namespace

// The forms calls against the simulated spooler: built-in forms, added forms, their sizing
// protocol and their failure answers.
#include "spool_fixture.h"

#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using moltr::test::SpoolTest;
using moltr::test::WideArg;

namespace {

FORM_INFO_1W Form(LPWSTR name, LONG width, LONG length, DWORD flags = FORM_PRINTER) {
    return {flags, name, {width, length}, {0, 0, width, length}};
}

BYTE* Bytes(FORM_INFO_1W& form) {
    return reinterpret_cast<BYTE*>(&form);
}

std::vector<BYTE> Enumerate(HANDLE printer, DWORD& count) {
    DWORD needed = 0;
    count = 7;
    EXPECT_FALSE(EnumFormsW(printer, 1, nullptr, 0, &needed, &count));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(count, 0u);
    std::vector<BYTE> buffer(needed);
    EXPECT_TRUE(EnumFormsW(printer, 1, buffer.data(), needed, &needed, &count));
    return buffer;
}

const FORM_INFO_1W* Entry(const std::vector<BYTE>& buffer, DWORD index) {
    return reinterpret_cast<const FORM_INFO_1W*>(buffer.data()) + index;
}

} // namespace

TEST_F(SpoolTest, ANewMachineHasTheStandardPaperSizesBuiltIn) {
    HANDLE printer = Open(0);
    DWORD count = 0;
    std::vector<BYTE> forms = Enumerate(printer, count);
    ASSERT_EQ(count, 68u); // DMPAPER_LETTER to DMPAPER_A6, without the two unused numbers
    const FORM_INFO_1W* letter = Entry(forms, 0);
    EXPECT_EQ(moltr::sim::Utf8(letter->pName), "Letter");
    EXPECT_EQ(letter->Flags, static_cast<DWORD>(FORM_BUILTIN));
    EXPECT_EQ(letter->Size.cx, 215900);
    EXPECT_EQ(letter->Size.cy, 279400);
    EXPECT_EQ(letter->ImageableArea.right, 215900);
    const FORM_INFO_1W* a4 = Entry(forms, 8); // DMPAPER_A4 is 9
    EXPECT_EQ(moltr::sim::Utf8(a4->pName), "A4");
    EXPECT_EQ(a4->Size.cx, 210000);
    EXPECT_EQ(a4->Size.cy, 297000);
    EXPECT_EQ(moltr::sim::Utf8(Entry(forms, 46)->pName), "Envelope Invite"); // 47
    EXPECT_EQ(moltr::sim::Utf8(Entry(forms, 47)->pName), "Letter Extra");    // 50
    // Names lie inside the buffer, behind the structures.
    for (DWORD i = 0; i < count; ++i) {
        const BYTE* name = reinterpret_cast<const BYTE*>(Entry(forms, i)->pName);
        EXPECT_GE(name, forms.data() + count * sizeof(FORM_INFO_1W));
        EXPECT_LT(name, forms.data() + forms.size());
    }
    ClosePrinter(printer);
}

TEST_F(SpoolTest, AddedFormsFollowTheBuiltInOnesAndComeBackAsAdded) {
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    WideArg name("Postcard 4x6");
    FORM_INFO_1W form = Form(name, 101600, 152400);
    form.ImageableArea = {1000, 2000, 100600, 150400};
    ASSERT_TRUE(AddFormW(admin, 1, Bytes(form)));

    DWORD needed = 0;
    EXPECT_FALSE(GetFormW(admin, name, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(needed, sizeof(FORM_INFO_1W) + sizeof(u"Postcard 4x6"));
    std::vector<BYTE> buffer(needed + 8, 0xCD);
    WideArg otherCase("POSTCARD 4X6");
    ASSERT_TRUE(GetFormW(admin, otherCase, 1, buffer.data(), needed, &needed));
    const auto* got = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
    EXPECT_EQ(moltr::sim::Utf8(got->pName), "Postcard 4x6");
    EXPECT_EQ(got->Flags, static_cast<DWORD>(FORM_PRINTER));
    EXPECT_EQ(got->ImageableArea.left, 1000);
    EXPECT_EQ(got->ImageableArea.bottom, 150400);
    EXPECT_EQ(buffer[needed], 0xCD); // nothing written past what was needed

    DWORD count = 0;
    std::vector<BYTE> forms = Enumerate(admin, count);
    ASSERT_EQ(count, 69u);
    EXPECT_EQ(moltr::sim::Utf8(Entry(forms, 68)->pName), "Postcard 4x6");
    ClosePrinter(admin);
}

TEST_F(SpoolTest, FormsAreChangedAndDeletedButBuiltInOnesAreNot) {
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    WideArg name("Banner");
    FORM_INFO_1W form = Form(name, 210000, 900000, FORM_USER);
    ASSERT_TRUE(AddFormW(admin, 1, Bytes(form)));
    WideArg renamed("Ignored");
    FORM_INFO_1W changed = Form(renamed, 200000, 800000, FORM_PRINTER);
    ASSERT_TRUE(SetFormW(admin, name, 1, Bytes(changed)));
    std::vector<BYTE> buffer(256);
    DWORD needed = 0;
    ASSERT_TRUE(GetFormW(admin, name, 1, buffer.data(), 256, &needed));
    const auto* got = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
    EXPECT_EQ(moltr::sim::Utf8(got->pName), "Banner"); // the name stays
    EXPECT_EQ(got->Size.cy, 800000);
    EXPECT_EQ(got->Flags, static_cast<DWORD>(FORM_PRINTER));
    ASSERT_TRUE(DeleteFormW(admin, name));
    EXPECT_FALSE(GetFormW(admin, name, 1, buffer.data(), 256, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FORM_NAME));
    EXPECT_FALSE(DeleteFormW(admin, name));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FORM_NAME));

    WideArg a4("A4");
    EXPECT_FALSE(DeleteFormW(admin, a4));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SetFormW(admin, a4, 1, Bytes(changed)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ASSERT_TRUE(GetFormW(admin, a4, 1, buffer.data(), 256, &needed));
    EXPECT_EQ(got->Size.cx, 210000);
    ClosePrinter(admin);
}

TEST_F(SpoolTest, AddFormRefusesDuplicatesBadFormsAndUsers) {
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    WideArg letter("letter");
    FORM_INFO_1W form = Form(letter, 100, 100);
    EXPECT_FALSE(AddFormW(admin, 1, Bytes(form)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

    WideArg name("Odd");
    struct Case {
        FORM_INFO_1W form;
        DWORD error;
    } cases[] = {
        {Form(nullptr, 100, 100), ERROR_INVALID_FORM_NAME},
        {Form(name, 0, 100), ERROR_INVALID_FORM_SIZE},
        {{FORM_PRINTER, name, {100, 100}, {0, 0, 101, 100}}, ERROR_INVALID_FORM_SIZE},
        {{FORM_PRINTER, name, {100, 100}, {50, 0, 50, 100}}, ERROR_INVALID_FORM_SIZE},
        {{FORM_PRINTER, name, {100, 100}, {-1, 0, 50, 100}}, ERROR_INVALID_FORM_SIZE},
        {Form(name, 100, 100, FORM_BUILTIN), ERROR_INVALID_PARAMETER},
        {Form(name, 100, 100, 0x10), ERROR_INVALID_PARAMETER},
    };
    for (Case& c : cases) {
        EXPECT_FALSE(AddFormW(admin, 1, Bytes(c.form)));
        EXPECT_EQ(GetLastError(), c.error);
    }
    FORM_INFO_1W good = Form(name, 100, 100);
    EXPECT_FALSE(AddFormW(admin, 2, Bytes(good)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    EXPECT_FALSE(AddFormW(admin, 1, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    HANDLE user = Open(PRINTER_ACCESS_USE);
    EXPECT_FALSE(AddFormW(user, 1, Bytes(good)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFormW(user, letter));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    DWORD count = 0;
    Enumerate(user, count); // reading needs no administration
    EXPECT_EQ(count, 68u);
    ClosePrinter(user);
    ClosePrinter(admin);
    EXPECT_FALSE(AddFormW(admin, 1, Bytes(good)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(SpoolTest, FormReadsRefuseBadLevelsNamesAndArguments) {
    HANDLE printer = Open(0);
    std::vector<BYTE> buffer(256);
    DWORD needed = 0;
    DWORD count = 0;
    WideArg a4("A4");
    WideArg unknown("No Such Form");
    EXPECT_FALSE(GetFormW(printer, unknown, 1, buffer.data(), 256, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FORM_NAME));
    EXPECT_FALSE(GetFormW(printer, a4, 2, buffer.data(), 256, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    EXPECT_FALSE(GetFormW(printer, a4, 1, buffer.data(), 256, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(EnumFormsW(printer, 3, buffer.data(), 256, &needed, &count));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    EXPECT_FALSE(EnumFormsW(printer, 1, buffer.data(), 256, &needed, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(EnumFormsW(nullptr, 1, buffer.data(), 256, &needed, &count));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ClosePrinter(printer);
}

TEST_F(SpoolTest, FormsAreSharedWithOtherProcessesAndGoWithAReset) {
    pid_t child = ::fork();
    if (child == 0) {
        WideArg printerName(kPrinter);
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE handle = nullptr;
        WideArg name("From Child");
        FORM_INFO_1W form = Form(name, 1000, 1000);
        ::_exit(OpenPrinterW(printerName, &handle, &defaults) && AddFormW(handle, 1, Bytes(form))
                    ? 0
                    : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    HANDLE printer = Open(0);
    WideArg name("From Child");
    std::vector<BYTE> buffer(256);
    DWORD needed = 0;
    EXPECT_TRUE(GetFormW(printer, name, 1, buffer.data(), 256, &needed));
    ClosePrinter(printer);

    ASSERT_TRUE(moltr::sim::ResetSpooler());
    EXPECT_FALSE(std::filesystem::exists(machine_.root() + "/spool/forms"));
}

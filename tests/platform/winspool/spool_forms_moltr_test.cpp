// `moltr forms` as a user runs it: the JSON array of the forms database, text, and its errors.
#include "spool_fixture.h"

#include "moltr_run.h"

using moltr::test::Moltr;
using moltr::test::MoltrRun;
using moltr::test::SpoolTest;
using moltr::test::WideArg;

TEST_F(SpoolTest, MoltrFormsListsBuiltInAndAddedForms) {
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    WideArg name("Index Card");
    FORM_INFO_1W form = {FORM_PRINTER, name, {76200, 127000}, {1000, 2000, 75200, 125000}};
    ASSERT_TRUE(AddFormW(admin, 1, reinterpret_cast<BYTE*>(&form)));
    ClosePrinter(admin);

    MoltrRun run = Moltr("--spool " + machine_.root() + " forms --json");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.rfind("[{\"name\": \"Letter\", \"flags\": 1, \"width\": 215900, "
                               "\"length\": 279400, \"left\": 0, \"top\": 0, \"right\": 215900, "
                               "\"bottom\": 279400, \"customSizeOf\": []}, ",
                               0),
              0u)
        << run.output.substr(0, 200);
    EXPECT_NE(run.output.find("{\"name\": \"Index Card\", \"flags\": 2, \"width\": 76200, "
                              "\"length\": 127000, \"left\": 1000, \"top\": 2000, \"right\": "
                              "75200, \"bottom\": 125000, \"customSizeOf\": []}]\n"),
              std::string::npos);

    run = Moltr("--spool " + machine_.root() + " forms");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("Index Card"), std::string::npos);
    EXPECT_NE(run.output.find("printer"), std::string::npos);
}

TEST_F(SpoolTest, MoltrFormsRefusesArguments) {
    MoltrRun run = Moltr("--spool " + machine_.root() + " forms --all");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(Moltr("--spool " + machine_.root() + " forms --help").status, 0);
}

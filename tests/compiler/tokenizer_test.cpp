// Reading description files: path resolution, includes and the embedded block of a GPD file.
#include "compiler/tokenizer.h"

#include <winspool.h>
#include <filesystem>
#include <fstream>
#include "xpd_fixture.h"

using namespace moltr::compiler;
using namespace moltr::compiler::test;
using moltr::sim::Utf16;
using moltr::sim::Utf8;

namespace {

class Tokenizer : public XpdFixture {
protected:
    void RunOn(DWORD major, DWORD minor) {
        moltr::sim::MachineConfig config = moltr::sim::CurrentConfig();
        config.version.major = major;
        config.version.minor = minor;
        ASSERT_TRUE(moltr::sim::UpdateConfig(config));
    }

    // The printer driver directory as the spooler names it.
    std::string DriverDirectory() {
        BYTE buffer[1024] = {};
        DWORD needed = 0;
        EXPECT_TRUE(
            GetPrinterDriverDirectoryW(nullptr, nullptr, 1, buffer, sizeof(buffer), &needed));
        return Utf8(reinterpret_cast<const WCHAR*>(buffer));
    }

    // Writes `content` (lines ending in "\n", written as CR LF) to the Windows path `path`.
    void Write(const std::string& path, std::string_view content) {
        const std::u16string wide = Utf16(path);
        const std::string host = moltr::sim::HostPath(moltr::sim::W(wide));
        ASSERT_FALSE(host.empty()) << path;
        std::filesystem::create_directories(std::filesystem::path(host).parent_path());
        std::string crlf;
        for (char c : content) {
            if (c == '\n') {
                crlf += '\r';
            }
            crlf += c;
        }
        std::ofstream(host, std::ios::binary) << crlf;
    }

    int Read(const std::string& path, bool embedded = false) {
        AppendBuiltInDescription(compilation().tokens);
        return Tokenize(compilation(), Utf16(path), embedded);
    }

    std::string Lower(std::string text) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    }
};

TEST_F(Tokenizer, AFileAndItsIncludesAppendTheirTokensInOrder) {
    Write("C:\\src\\main.xpd", "*A: 1\n*INCLUDE: C:\\src\\one.xpd\n*INCLUDE: C:\\src\\two.xpd\n");
    Write("C:\\src\\one.xpd", "*B: 2\n*INCLUDE: C:\\src\\three.xpd\n");
    Write("C:\\src\\two.xpd", "*C: 3\n");
    Write("C:\\src\\three.xpd", "*D: 4\n");
    EXPECT_EQ(Read("C:\\src\\main.xpd"), kSuccess);
    EXPECT_EQ(SourceTokens(),
              (Strings{"*A=1@0", "*INCLUDE=C:\\SRC\\ONE.XPD@0", "*INCLUDE=C:\\SRC\\TWO.XPD@0",
                       "*B=2@0", "*INCLUDE=C:\\SRC\\THREE.XPD@0", "*C=3@0", "*D=4@0"}));
    EXPECT_EQ(compilation().includes.size(), 4u);
    EXPECT_EQ(Utf8(compilation().includes[1]), "c:\\src\\one.xpd");
    EXPECT_EQ(Ids(), (IdList{message::kReadingFile, message::kReadingFile, message::kReadingFile,
                             message::kReadingFile}));
}

TEST_F(Tokenizer, TheSameIncludeInAnyCaseIsReadOnce) {
    Write("C:\\src\\main.xpd", "*INCLUDE: C:\\Src\\One.xpd\n*INCLUDE: \"c:\\SRC\\one.XPD\"\n");
    Write("C:\\src\\one.xpd", "*B: 2\n");
    EXPECT_EQ(Read("C:\\src\\main.xpd"), kWarning);
    EXPECT_EQ(Ids(),
              (IdList{message::kReadingFile, message::kReadingFile, message::kMultipleIncludes}));
    EXPECT_EQ(Utf8(raised_.back().arguments[0]), "c:\\src\\one.xpd");
}

TEST_F(Tokenizer, ABareNameLiesInTheDriverDirectoryWithItsVersionFolder) {
    RunOn(6, 0);
    Write(DriverDirectory() + "\\3\\extra.xpd", "*E: 5\n");
    Write("C:\\src\\main.xpd", "*INCLUDE: Extra\n");
    EXPECT_EQ(Read("C:\\src\\main.xpd"), kSuccess);
    ASSERT_EQ(compilation().includes.size(), 2u);
    EXPECT_EQ(Utf8(compilation().includes[1]), Lower(DriverDirectory()) + "\\3\\extra.xpd");
    EXPECT_EQ(SourceTokens().back(), "*E=5@0");
}

TEST_F(Tokenizer, OtherVersionsLookDirectlyInTheDriverDirectory) {
    RunOn(6, 1);
    Write(DriverDirectory() + "\\extra.xpd", "*E: 5\n");
    Write("C:\\src\\main.xpd", "*INCLUDE: EXTRA.XPD\n");
    EXPECT_EQ(Read("C:\\src\\main.xpd"), kSuccess);
    ASSERT_EQ(compilation().includes.size(), 2u);
    EXPECT_EQ(Utf8(compilation().includes[1]), Lower(DriverDirectory()) + "\\extra.xpd");
}

TEST_F(Tokenizer, AMissingXpdIsSkippedAndAnyOtherMissingFileIsAnError) {
    Write("C:\\src\\main.xpd", "*INCLUDE: nothing\n*INCLUDE: C:\\src\\gone.XPD\n");
    EXPECT_EQ(Read("C:\\src\\main.xpd"), kWarning);
    EXPECT_EQ(Ids(), IdList{message::kReadingFile});
    Reset();
    Write("C:\\src\\main.xpd", "*INCLUDE: C:\\src\\gone.gpd\n");
    EXPECT_EQ(Read("C:\\src\\main.xpd"), kError);
    EXPECT_EQ(Ids(), (IdList{message::kReadingFile, message::kFileDoesNotExist}));
}

TEST_F(Tokenizer, ExtensionsComeFromTheFileNameNotAFolderName) {
    // An included GPD in a folder with a dot is still read leniently (its block line has no
    // colon), and a missing file there without an extension is a missing .xpd.
    Write("C:\\my.dir\\inc.gpd", "*IgnoreBlock\n{\n*Y: 1\n}\n");
    Write("C:\\my.dir\\main.xpd", "*INCLUDE: C:\\my.dir\\inc.gpd\n*INCLUDE: C:\\my.dir\\gone\n");
    EXPECT_EQ(Read("C:\\my.dir\\main.xpd"), kWarning);
    EXPECT_EQ(Ids(), (IdList{message::kReadingFile, message::kReadingFile}));
    const Strings tokens = SourceTokens();
    EXPECT_EQ(Strings(tokens.end() - 2, tokens.end()), (Strings{"*IGNOREBLOCK=@0", "*Y=1@1"}));
}

TEST_F(Tokenizer, PrefixesNameTheSystemFolders) {
    Write("C:\\Windows\\System32\\sys.xpd", "*S: 1\n");
    Write("C:\\Windows\\win.xpd", "*W: 2\n");
    Write("C:\\src\\main.xpd", "*INCLUDE: [SysDir]\\sys\n*INCLUDE: [WINDIR]\\win.xpd\n");
    EXPECT_EQ(Read("C:\\src\\main.xpd"), kSuccess);
    const Strings tokens = SourceTokens();
    EXPECT_EQ(Strings(tokens.end() - 2, tokens.end()), (Strings{"*S=1@0", "*W=2@0"}));
}

TEST_F(Tokenizer, AnIncludedGpdIsReadLeniently) {
    Write("C:\\src\\main.xpd", "*INCLUDE: C:\\src\\names.gpd\n");
    Write("C:\\src\\names.gpd", "*Feature: RESDLL\n{\n*Option: One\n{\n*Name: \"x.dll\"\n}\n}\n"
                                "*IgnoreBlock\n{\n*Y: 1\n}\n");
    EXPECT_EQ(Read("C:\\src\\main.xpd"), kSuccess);
    const Strings tokens = SourceTokens();
    EXPECT_EQ(Strings(tokens.begin() + 1, tokens.end()),
              (Strings{"*FEATURE=RESDLL@0", "*OPTION=ONE@1", "*NAME=x.dll@2", "*IGNOREBLOCK=@0",
                       "*Y=1@1"}));
}

TEST_F(Tokenizer, TheEmbeddedFlagReadsTheTaggedBlockOfAGpd) {
    Write("C:\\src\\printer.gpd", "*GPDFileVersion: \"1.0\"\n*ModelName: \"X\"\n"
                                  "*% XPD BEGIN - DO NOT REMOVE THIS TAG\n*IgnoreBlock\n{\n"
                                  "*A: 1\n}\n*% XPD END - DO NOT REMOVE THIS TAG\n");
    EXPECT_EQ(Read("C:\\src\\printer.gpd", true), kSuccess);
    EXPECT_EQ(SourceTokens(), Strings{"*A=1@0"});
}

TEST_F(Tokenizer, EmptyAndUnopenableFilesAreReported) {
    Write("C:\\src\\empty.xpd", "");
    EXPECT_EQ(Read("C:\\src\\empty.xpd"), kWarning);
    EXPECT_EQ(Ids(), (IdList{message::kReadingFile, message::kNoContent}));
    Reset();
    EXPECT_EQ(Tokenize(compilation(), u"C:\\src\\empty.xpd", false), kError); // no tokens yet
    EXPECT_EQ(Ids(),
              (IdList{message::kReadingFile, message::kNoContent, message::kNoSourceInformation}));
    Reset();
    Write("C:\\src\\locked.xpd", "*A: 1\n");
    const std::u16string locked = u"C:\\src\\locked.xpd";
    HANDLE writer = CreateFileW(moltr::sim::W(locked), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Read("C:\\src\\locked.xpd"), kError);
    EXPECT_EQ(Ids(), (IdList{message::kReadingFile, message::kCannotOpenFile}));
    CloseHandle(writer);
}

} // namespace

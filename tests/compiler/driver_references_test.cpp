// Reference descriptors F(V): DYNAMIC fields take the type of the setting field F, and bad
// descriptors fail with their messages.
#include "driver_test_printer.h"

namespace moltr::test {
namespace {

const std::string kPath = std::string(kFolder) + "references.xpd";

std::string Feature(const std::string& references) {
    return "*XPDSTRUCT: OEMDEVMODE\n{\n    *FIELD: _MODE { *FIELDTYPE: WORD }\n"
           "    *FIELD: _NAME\n    {\n        *FIELDTYPE: STRING\n    }\n}\n"
           "*DOCUMENTFEATURE: MODE\n{\n" +
           references +
           "    *CONTROLID: 1\n    *CONTROLTYPE: 6\n    *CONTROLTEXTID: 1\n"
           "    *DMPUBID: 0\n    *PROPLEVEL: 1\n"
           "    *OPTION: A\n    {\n        *ITEMTEXTID: 1\n        *VALUE: 513\n    }\n"
           "    *OPTION: B\n    {\n        *ITEMTEXTID: 2\n        *VALUE: 2\n    }\n}\n";
}

class References : public ::testing::Test {
protected:
    References() : printer_((WriteDescription(kPath, "*X: 1\n"), HostFile(kPath))) {}

    int Compile(const std::string& references) {
        WriteDescription(kPath, Feature(references));
        return printer_.Compile(kPath);
    }

    sim::TestMachine machine_;
    TestPrinter printer_;
};

TEST_F(References, OptionValuesTakeTheSettingsType) {
    Compile("    *REFERENCES: OEMDEVMODE._MODE(DOCUMENTFEATURE.OPTION.VALUE)\n");
    std::u16string name = TestPrinter::kName;
    store::StructureRecord* record = nullptr;
    ASSERT_EQ(0, store::OpenByName(sim::W(name), L"DOCUMENTFEATURE", &record))
        << ::testing::PrintToString(printer_.MessagesOfClass(1));
    store::StructureHandle feature = nullptr;
    ASSERT_EQ(0, store::GetStructure(record, L"DOCUMENTFEATURE", &feature, nullptr));
    store::StructureHandle option = nullptr;
    ASSERT_EQ(0, store::GetStructure(record, L"OPTION", &option, nullptr));
    EXPECT_EQ(store::kTypeWord, store::GetFieldType(option, L"VALUE"));
    EXPECT_EQ(2u, store::GetFieldSize(option, L"VALUE"));
    WORD value = 0;
    EXPECT_EQ(0, store::GetField(option, L"VALUE", &value, sizeof value));
    EXPECT_EQ(513u, value);
    LPCWSTR reference = nullptr;
    EXPECT_EQ(0, store::GetFieldReference(option, L"VALUE", &reference));
    EXPECT_EQ("OEMDEVMODE._MODE", sim::Utf8(reference));
    store::Close(&record);
}

TEST_F(References, SecondReferenceToTheSameValueIsIgnored) {
    Compile("    *REFERENCES: OEMDEVMODE._MODE(DOCUMENTFEATURE.OPTION.VALUE)\n"
            "    *REFERENCES: OEMDEVMODE._VERSION(DOCUMENTFEATURE.OPTION.VALUE)\n");
    EXPECT_TRUE(printer_.Raised(61607));
    EXPECT_TRUE(printer_.MessagesOfClass(2).empty());
}

TEST_F(References, AMissingRootIsReportedAsSuchAlone) {
    Compile("    *REFERENCES: NOSUCHROOT.X(DOCUMENTFEATURE.OPTION.VALUE)\n");
    EXPECT_EQ((std::vector<UINT>{62104}), printer_.MessagesOfClass(2));
}

struct BadReference {
    const char* value;
    UINT id;
};

class BadReferences : public References, public ::testing::WithParamInterface<BadReference> {};

TEST_P(BadReferences, FailWithTheirMessage) {
    Compile(std::string("    *REFERENCES: ") + GetParam().value + "\n");
    EXPECT_TRUE(printer_.Raised(GetParam().id))
        << GetParam().value << " gave " << ::testing::PrintToString(printer_.MessagesOfClass(1));
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, BadReferences,
    ::testing::Values(
        BadReference{"NOTHING", 62101}, BadReference{"OEMDEVMODE._MODE", 62101},
        BadReference{"OEMDEVMODE._MODE(DOCUMENTFEATURE.OPTION.VALUE", 62101},
        BadReference{"DOCUMENTFEATURE.CONTROLID(DOCUMENTFEATURE.OPTION.VALUE)", 62112},
        BadReference{"OEMDEVMODE(DOCUMENTFEATURE.OPTION.VALUE)", 62103},
        BadReference{"A.B.C.D.E.F.G.H.I.J.K.L.M.N.O.P.Q.R.S.T.U.V.W.X.Y.Z.AA.BB.CC."
                     "DD.EE.FF.GG(DOCUMENTFEATURE.OPTION.VALUE)",
                     62102},
        BadReference{"NOSUCHROOT.X(DOCUMENTFEATURE.OPTION.VALUE)", 62104},
        BadReference{"DOCUMENTFEATURE.OPTION(PRINTERFEATURE.OPTION.VALUE)", 62105},
        BadReference{"OEMDEVMODE._MODE.X(DOCUMENTFEATURE.OPTION.VALUE)", 62106},
        BadReference{"OEMDEVMODE._NONE(DOCUMENTFEATURE.OPTION.VALUE)", 62107},
        BadReference{"DOCUMENTFEATURE.NONE.X(PRINTERFEATURE.OPTION.VALUE)", 62108},
        BadReference{"OEMDEVMODE._MODE(DOCUMENTFEATURE.OPTION.ICONID)", 62109},
        BadReference{"OEMDEVMODE._NAME(DOCUMENTFEATURE.OPTION.VALUE)", 62110},
        BadReference{"PRINTERFEATURE.OPTION.VALUE(DOCUMENTFEATURE.OPTION.VALUE)", 62111}));

} // namespace
} // namespace moltr::test

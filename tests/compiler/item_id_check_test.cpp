// Feature records whose item id does not survive the option item's 8-bit UserItemID are refused
// when the description is compiled.
#include "compiler/item_id_check.h"

#include "compiler/structure_compiler.h"
#include "compiler/value_compiler.h"
#include "xpd_fixture.h"

using namespace moltr::compiler;
using namespace moltr::compiler::test;
using moltr::sim::Utf8;

namespace {

class ItemIdCheck : public XpdFixture {
protected:
    // Compiles one record of `structure` with the given CONTROLID and DMPUBID.
    int CompileFeature(const char16_t* structure, unsigned controlId, unsigned dmPubId) {
        Reset();
        root_ = Structure();
        const std::string name = Utf8(structure);
        const std::string text =
            "*" + name + ": ITEM { *CONTROLID: " + std::to_string(controlId) +
            "\n*CONTROLTYPE: 9\n*CONTROLTEXTID: 10\n*DMPUBID: " + std::to_string(dmPubId) +
            "\n*PROPLEVEL: 1\n" + "*OPTION: ON { *ITEMTEXTID: 11 } }\n";
        EXPECT_LT(Load(text), kError);
        EXPECT_EQ(CompileDefinition(compilation(), services(), root_, structure), kSuccess);
        return CompileValues(compilation(), services(), root_, 0, nullptr, u"", {},
                             root_.forceWrite);
    }

    bool Refused() const {
        for (UINT id : Ids()) {
            if (id == message::kItemIdDoesNotFit) {
                return true;
            }
        }
        return false;
    }

    Structure root_;
};

// The largest id: DMPubID 100 + 155 and UserItemID 255, read back as DMPubID + 156 x UserItemID.
constexpr unsigned kLargest = 100 + 155 + 156 * 255;

TEST_F(ItemIdCheck, TheLargestEncodableControlIdIsAccepted) {
    for (const char16_t* structure : {u"DOCUMENTFEATURE", u"PRINTERFEATURE"}) {
        CompileFeature(structure, kLargest, 0xFFFF);
        EXPECT_FALSE(Refused()) << Utf8(structure);
    }
}

TEST_F(ItemIdCheck, AControlIdOneAboveIsRefusedWithItsRecordNamed) {
    for (const char16_t* structure : {u"DOCUMENTFEATURE", u"PRINTERFEATURE"}) {
        EXPECT_EQ(CompileFeature(structure, kLargest + 1, 0xFFFF), kError) << Utf8(structure);
        ASSERT_TRUE(Refused());
        const CompileMessage& refusal = raised_.back();
        EXPECT_EQ(refusal.id, message::kItemIdDoesNotFit);
        EXPECT_EQ(Utf8(refusal.arguments[0]), std::to_string(kLargest + 1));
        EXPECT_EQ(Utf8(refusal.arguments[1]), "CONTROLID");
        EXPECT_EQ(Utf8(refusal.arguments[2]), "ITEM");
        EXPECT_EQ(Utf8(refusal.arguments[3]), Utf8(structure));
    }
}

TEST_F(ItemIdCheck, AControlIdIsOnlyTheIdWhenDmPubIdHandsItOver) {
    CompileFeature(u"DOCUMENTFEATURE", 65000, 7);
    EXPECT_FALSE(Refused());
    EXPECT_EQ(CompileFeature(u"DOCUMENTFEATURE", 7, 65000), kError);
    EXPECT_TRUE(Refused());
    EXPECT_EQ(Utf8(raised_.back().arguments[1]), "DMPUBID");
}

TEST_F(ItemIdCheck, OtherStructuresAreNotChecked) {
    Reset();
    Structure root;
    EXPECT_LT(Load("*XPDSTRUCT: MINE { *FIELD: CONTROLID { *FIELDTYPE: WORD } }\n"
                   "*MINE: R { *CONTROLID: 65000 }\n"),
              kError);
    EXPECT_EQ(CompileDefinition(compilation(), services(), root, u"MINE"), kSuccess);
    EXPECT_EQ(CompileValues(compilation(), services(), root, 0, nullptr, u"", {}, false), kSuccess);
    EXPECT_FALSE(Refused());
}

} // namespace

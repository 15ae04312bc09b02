// Which paper, source, media type, duplex, booklet, output tray and colour choices go together per
// model class, as the pages' constraints ask the tables.
#include <gtest/gtest.h>
#include <algorithm>
#include <ostream>
#include <vector>
#include "uiplugin/engine/compatibility_tables.h"

namespace moltr::ui {
// Failures name the source a move goes to.
void PrintTo(SourceMove move, std::ostream* out) {
    *out << "source " << static_cast<DWORD>(move);
}
} // namespace moltr::ui

namespace moltr::test {
namespace {

using ui::SourceMove;

// Every class of the family, and the class of drivers outside it.
constexpr DWORD kAllClasses[] = {1, 2, 3, 4, 5, 6, 7, 11, 13, 14, 15, 16, 20};

struct SourceMediaCase {
    DWORD source;
    DWORD mediaType;
    SourceMove move;
};

struct ClassSourceMedia {
    std::vector<DWORD> classes;
    std::vector<SourceMediaCase> cases;
};

class SourceMediaTest : public ::testing::TestWithParam<ClassSourceMedia> {};

TEST_P(SourceMediaTest, TheMediaTypeMovesTheSourceAsTheRowOfTheClassSays) {
    for (DWORD modelClass : GetParam().classes) {
        for (const SourceMediaCase& check : GetParam().cases) {
            EXPECT_EQ(ui::SourceMoveForMediaType(modelClass, check.source, check.mediaType),
                      check.move)
                << "class " << modelClass << ", source " << check.source << ", media type "
                << check.mediaType;
        }
    }
}

constexpr SourceMove kStay = SourceMove::kStay;
constexpr SourceMove kTo15 = SourceMove::kToAutomatic;
constexpr SourceMove kTo1 = SourceMove::kToUpper;

INSTANTIATE_TEST_SUITE_P(
    Classes, SourceMediaTest,
    ::testing::Values(ClassSourceMedia{{1},
                                       {{1, 521, kTo15},
                                        {4, 525, kTo15},
                                        {1, 522, kStay},
                                        {4, 526, kStay},
                                        {15, 526, kTo1},
                                        {15, 538, kTo1},
                                        {15, 521, kStay},
                                        {520, 523, kTo15},
                                        {521, 529, kTo1},
                                        {521, 530, kStay},
                                        // The model has two trays only.
                                        {522, 521, kStay}}},
                      ClassSourceMedia{{2, 11},
                                       {{1, 532, kTo15},
                                        {4, 522, kStay},
                                        {15, 528, kTo1},
                                        {15, 529, kStay},
                                        {15, 531, kTo1},
                                        {523, 532, kTo15},
                                        {522, 530, kTo1},
                                        {520, 536, kStay}}},
                      ClassSourceMedia{{3},
                                       {{1, 521, kTo15},
                                        {1, 522, kStay},
                                        {1, 532, kStay},
                                        {15, 522, kTo1},
                                        {15, 537, kTo1},
                                        {523, 522, kTo1},
                                        {520, 525, kTo15},
                                        {520, 538, kStay}}},
                      ClassSourceMedia{{4, 6, 13, 15},
                                       {{1, 522, kTo15},
                                        {4, 539, kTo15},
                                        {1, 526, kStay},
                                        {15, 530, kTo1},
                                        {15, 531, kStay},
                                        {15, 536, kTo1},
                                        {521, 533, kTo15},
                                        {520, 527, kTo1},
                                        {522, 521, kStay}}},
                      ClassSourceMedia{{5, 14},
                                       {{4, 533, kTo15},
                                        {15, 531, kTo1},
                                        {15, 537, kTo1},
                                        {15, 538, kStay},
                                        {520, 522, kTo15},
                                        {520, 536, kTo1},
                                        // One tray only.
                                        {521, 521, kStay}}},
                      // The plain back side goes to the upper tray from every tray, as on class 3;
                      // the semi-thick back, both narrow types and the rough paper pass.
                      ClassSourceMedia{{7, 16},
                                       {{1, 522, kTo15},
                                        {4, 539, kTo15},
                                        {1, 533, kStay},
                                        {15, 540, kTo1},
                                        {15, 541, kTo1},
                                        {15, 522, kStay},
                                        {520, 522, kTo1},
                                        {523, 522, kTo1},
                                        {521, 521, kTo15},
                                        {522, 539, kTo15},
                                        {520, 531, kTo1},
                                        {521, 533, kStay},
                                        {522, 534, kStay},
                                        {523, 535, kStay},
                                        {520, 538, kStay}}},
                      // Drivers outside the family, and classes no driver has, have no rule.
                      ClassSourceMedia{{20, 8, 0},
                                       {{1, 521, kStay}, {15, 526, kStay}, {520, 529, kStay}}}));

TEST(DuplexTable, PaperSizesFollowTheClassRow) {
    struct Case {
        DWORD modelClass;
        std::vector<DWORD> allowed;
        std::vector<DWORD> refused;
    };
    const Case cases[] = {
        {1, {1, 7, 8, 9, 11, 12, 13, 17}, {5, 6, 14, 60, 258, 20}},
        {2, {1, 5, 7, 8, 9, 11, 12, 13, 14, 17}, {6, 60, 66, 257, 258}},
        {15, {1, 5, 7, 8, 9, 11, 12, 13, 14, 17}, {6, 10, 60}},
        {3, {1, 5, 6, 7, 8, 9, 11, 12, 13, 14, 17, 60, 66, 257, 258}, {10, 259, 20}},
        {14, {1, 5, 7, 8, 9, 12, 13, 17}, {6, 11, 14}},
        {16, {1, 5, 7, 8, 9, 11, 12, 13, 14, 17, 60, 66, 257, 258, 259}, {6, 10, 37}},
        {20, {1, 5, 6, 9, 14, 17, 60, 66, 257, 258}, {10, 259, 27}},
        // A class without a row of its own is treated as a driver outside the family.
        {9, {6, 257}, {259}},
    };
    for (const Case& check : cases) {
        for (DWORD paper : check.allowed) {
            EXPECT_TRUE(ui::DuplexAllowsPaper(check.modelClass, paper))
                << "class " << check.modelClass << ", paper " << paper;
        }
        for (DWORD paper : check.refused) {
            EXPECT_FALSE(ui::DuplexAllowsPaper(check.modelClass, paper))
                << "class " << check.modelClass << ", paper " << paper;
        }
    }
}

TEST(DuplexTable, ScaleToSizesAreANarrowerColumnThanThePapers) {
    // Papers that duplex takes but that are no scaling target.
    EXPECT_TRUE(ui::DuplexAllowsPaper(1, 8));
    EXPECT_FALSE(ui::DuplexAllowsScaleTo(1, 8));
    EXPECT_FALSE(ui::DuplexAllowsScaleTo(4, 12));
    EXPECT_FALSE(ui::DuplexAllowsScaleTo(3, 66));
    EXPECT_FALSE(ui::DuplexAllowsScaleTo(5, 12));
    EXPECT_FALSE(ui::DuplexAllowsScaleTo(16, 257));
    EXPECT_FALSE(ui::DuplexAllowsScaleTo(20, 257));
    // And targets of each row.
    EXPECT_TRUE(ui::DuplexAllowsScaleTo(1, 13));
    EXPECT_TRUE(ui::DuplexAllowsScaleTo(13, 14));
    EXPECT_TRUE(ui::DuplexAllowsScaleTo(3, 6));
    EXPECT_TRUE(ui::DuplexAllowsScaleTo(14, 5));
    EXPECT_FALSE(ui::DuplexAllowsScaleTo(14, 11));
    EXPECT_TRUE(ui::DuplexAllowsScaleTo(7, 259));
    EXPECT_TRUE(ui::DuplexAllowsScaleTo(20, 258));
}

TEST(DuplexTable, MediaTypesRefusedDependOnTheDuplexUnit) {
    struct Case {
        DWORD modelClass;
        DWORD duplexType;
        std::vector<DWORD> allowed;
        std::vector<DWORD> refused;
    };
    const Case cases[] = {
        // With the unit only the listed types; turned by hand all but films and labels.
        {1, 1, {0, 520, 521, 523, 524, 525}, {522, 526, 527, 528, 532, 541}},
        {1, 2, {0, 521, 522, 528, 532, 541}, {526, 527}},
        {11, 1, {0, 520, 521, 523, 525, 528, 532}, {522, 526, 529, 530, 533}},
        {6, 3, {522, 530, 533}, {526, 527}},
        {3, 1, {0, 520, 525, 532}, {522, 528, 533}},
        {3, 0, {528, 533}, {526, 527}},
        // Classes 5 and 14, and drivers outside the family: films and labels, with or without
        // the unit.
        {5, 1, {0, 522, 528, 541}, {526, 527}},
        {14, 2, {533}, {526, 527}},
        {20, 1, {522, 530}, {526, 527}},
        // Classes 7 and 16: the same list either way.
        {7,
         1,
         {0, 520, 521, 523, 524, 525, 528, 530, 532, 536, 539, 540},
         {522, 526, 527, 529, 531, 533, 534, 535, 537, 538, 541}},
        {16, 2, {528, 540}, {522, 526, 529, 541}},
    };
    for (const Case& check : cases) {
        for (DWORD type : check.allowed) {
            EXPECT_FALSE(ui::DuplexRefusesMediaType(check.modelClass, check.duplexType, type))
                << "class " << check.modelClass << ", duplex type " << check.duplexType
                << ", media type " << type;
        }
        for (DWORD type : check.refused) {
            EXPECT_TRUE(ui::DuplexRefusesMediaType(check.modelClass, check.duplexType, type))
                << "class " << check.modelClass << ", duplex type " << check.duplexType
                << ", media type " << type;
        }
    }
}

TEST(AdvancedScaleTo, DriversOutsideTheFamilyTakeOfficeSizesAndLargeOnesWithTheUnit) {
    for (DWORD size : {1, 9, 11, 13, 14, 60, 258}) {
        EXPECT_TRUE(ui::AdvancedAllowsScaleTo(20, size, false)) << size;
    }
    for (DWORD size : {8, 12, 17}) {
        EXPECT_FALSE(ui::AdvancedAllowsScaleTo(20, size, false)) << size;
        EXPECT_TRUE(ui::AdvancedAllowsScaleTo(20, size, true)) << size;
    }
    // Sizes the duplex column has for these drivers but the advanced page does not.
    for (DWORD size : {5, 6, 7}) {
        EXPECT_TRUE(ui::DuplexAllowsScaleTo(20, size)) << size;
        EXPECT_FALSE(ui::AdvancedAllowsScaleTo(20, size, true)) << size;
    }
}

TEST(AdvancedScaleTo, TheFamilyUsesTheDuplexColumnWhateverTheLargeSizes) {
    EXPECT_TRUE(ui::AdvancedAllowsScaleTo(7, 259, false));
    EXPECT_TRUE(ui::AdvancedAllowsScaleTo(3, 6, false));
    EXPECT_FALSE(ui::AdvancedAllowsScaleTo(1, 8, true));
    EXPECT_FALSE(ui::AdvancedAllowsScaleTo(5, 11, true));
}

TEST(Booklet, EachPaperWithAnEntryOffersItsTwoBindingsBesidesOff) {
    // The booklet values by which the render plug-in picks the output paper.
    struct Case {
        DWORD paper;
        DWORD left;
    };
    const Case cases[] = {{1, 2},  {5, 4},  {9, 6},   {11, 10}, {13, 12},
                          {6, 14}, {8, 20}, {12, 22}, {17, 24}};
    for (const Case& check : cases) {
        const ui::BookletPaper* booklet = ui::BookletPaperOf(check.paper);
        ASSERT_NE(booklet, nullptr) << check.paper;
        EXPECT_EQ(booklet->leftBinding, check.left);
        EXPECT_EQ(booklet->rightBinding, check.left + 1);
        for (DWORD value = 0; value <= 26; ++value) {
            const bool offered =
                value == ui::kBookletOff || value == check.left || value == check.left + 1;
            EXPECT_EQ(ui::BookletOffersValue(check.paper, value), offered)
                << "paper " << check.paper << ", value " << value;
        }
    }
}

TEST(Booklet, OtherPapersOfferOnlyOff) {
    for (DWORD paper : {7, 14, 20, 60, 258, 259, 0x8000}) {
        EXPECT_EQ(ui::BookletPaperOf(paper), nullptr) << paper;
        EXPECT_TRUE(ui::BookletOffersValue(paper, ui::kBookletOff)) << paper;
        EXPECT_FALSE(ui::BookletOffersValue(paper, 6)) << paper;
    }
}

TEST(Envelopes, TheSixEnvelopeSizesAndNoOther) {
    for (DWORD paper = 0; paper <= 300; ++paper) {
        const bool envelope =
            paper == 20 || paper == 27 || paper == 28 || paper == 31 || paper == 34 || paper == 37;
        EXPECT_EQ(ui::IsEnvelope(paper), envelope) << paper;
    }
}

TEST(SourceFeeds, TheCassettesTakeCutSheetsAndTheLargeOnesOnlyWithTheUnit) {
    for (DWORD source : {520, 521, 522, 524}) {
        for (DWORD modelClass : {1, 2, 4, 5, 6, 11, 13, 14, 15}) {
            EXPECT_TRUE(ui::SourceCanFeed(modelClass, source, 9));
            EXPECT_TRUE(ui::SourceCanFeed(modelClass, source, 258));
            EXPECT_FALSE(ui::SourceCanFeed(modelClass, source, 8)) << modelClass;
            EXPECT_FALSE(ui::SourceCanFeed(modelClass, source, 17)) << modelClass;
        }
        EXPECT_TRUE(ui::SourceCanFeed(3, source, 12));
        EXPECT_FALSE(ui::SourceCanFeed(3, source, 259));
        EXPECT_TRUE(ui::SourceCanFeed(7, source, 259));
        EXPECT_TRUE(ui::SourceCanFeed(16, source, 17));
        // Statement, envelopes and custom media come from the other sources.
        for (DWORD modelClass : {1, 3, 7, 16}) {
            EXPECT_FALSE(ui::SourceCanFeed(modelClass, source, 6));
            EXPECT_FALSE(ui::SourceCanFeed(modelClass, source, 27));
            EXPECT_FALSE(ui::SourceCanFeed(modelClass, source, 0x8000));
        }
    }
}

TEST(SourceFeeds, TheEnvelopeFeederTakesEnvelopesOnly) {
    for (DWORD modelClass : {2, 3, 7, 11, 16}) {
        for (DWORD paper : {20, 27, 28, 31, 34, 37}) {
            EXPECT_TRUE(ui::SourceCanFeed(modelClass, 523, paper));
        }
        for (DWORD paper : {1, 9, 6, 8, 0x8000}) {
            EXPECT_FALSE(ui::SourceCanFeed(modelClass, 523, paper));
        }
    }
}

TEST(SourceFeeds, UpperManualAndAutomaticFeedEverySizeAsDoUnknownTrays) {
    for (DWORD modelClass : kAllClasses) {
        for (DWORD source : {1, 4, 15}) {
            for (DWORD paper : {1, 6, 8, 27, 259, 0x8001}) {
                EXPECT_TRUE(ui::SourceCanFeed(modelClass, source, paper));
            }
        }
    }
    EXPECT_TRUE(ui::SourceCanFeed(20, 520, 27));
    EXPECT_TRUE(ui::SourceCanFeed(20, 523, 9));
}

TEST(SourceFeeds, FormAssignmentSlotsAreTheSourcesOfTheirPageSetupCallbacks) {
    const DWORD expected[] = {1, 520, 521, 522, 524, 0, 523};
    for (DWORD slot = 0; slot < ui::kFormAssignSlots; ++slot) {
        EXPECT_EQ(ui::FormAssignSlotSource(slot), expected[slot]) << slot;
    }
    EXPECT_EQ(ui::FormAssignSlotSource(ui::kFormAssignSlots), 0u);
    EXPECT_EQ(ui::FormAssignSlotSource(0xFFFFFFFF), 0u);
}

TEST(SingleSheets, OnlyTheManualFeed) {
    for (DWORD source : {1, 15, 520, 521, 522, 523, 524, 7}) {
        EXPECT_FALSE(ui::SourceFeedsSingleSheets(source)) << source;
    }
    EXPECT_TRUE(ui::SourceFeedsSingleSheets(4));
}

TEST(FaceUpTray, RefusesTheLongSheetsAndIsNeededByTheHeavyMedia) {
    for (DWORD paper : {8, 12, 17, 66, 259}) {
        EXPECT_FALSE(ui::FaceUpTrayTakesPaper(paper)) << paper;
    }
    for (DWORD paper : {1, 5, 9, 14, 60, 258, 20, 37, 0x8000}) {
        EXPECT_TRUE(ui::FaceUpTrayTakesPaper(paper)) << paper;
    }
    for (DWORD type = 520; type <= 541; ++type) {
        const bool heavy =
            type == 526 || type == 527 || type == 530 || type == 531 || type == 540 || type == 541;
        EXPECT_EQ(ui::MediaTypeNeedsFaceUpTray(type), heavy) << type;
    }
}

ui::FormAssignment Assignment(std::initializer_list<SHORT> sizes, std::initializer_list<WORD> types,
                              DWORD sources) {
    ui::FormAssignment assignment = {};
    std::copy(sizes.begin(), sizes.end(), assignment.sizes);
    std::copy(types.begin(), types.end(), assignment.types);
    assignment.sources = sources;
    return assignment;
}

TEST(FormAssignMedia, TheTypesAssignedToThePaperOrToNoSize) {
    // Slot 0 A4 plain, slot 1 Letter transparency, slot 2 no size labels, slot 3 nothing.
    const ui::FormAssignment assignment = Assignment({9, 1, 0, 0}, {521, 526, 527, 0}, 4);
    EXPECT_TRUE(ui::FormAssignOffersMediaType(assignment, 9, 521));
    EXPECT_TRUE(ui::FormAssignOffersMediaType(assignment, 9, 527));
    EXPECT_FALSE(ui::FormAssignOffersMediaType(assignment, 9, 526));
    EXPECT_FALSE(ui::FormAssignOffersMediaType(assignment, 9, 528));
    EXPECT_TRUE(ui::FormAssignOffersMediaType(assignment, 1, 526));
    EXPECT_FALSE(ui::FormAssignOffersMediaType(assignment, 1, 521));
    // Any paper takes what the size-less slot holds.
    EXPECT_TRUE(ui::FormAssignOffersMediaType(assignment, 5, 527));
    EXPECT_FALSE(ui::FormAssignOffersMediaType(assignment, 5, 521));
}

TEST(FormAssignMedia, ASlotWithoutTypeOffersAllAndAnUnassignedPaperKeepsAll) {
    const ui::FormAssignment assignment = Assignment({9, 1}, {0, 526}, 2);
    for (DWORD type : {521, 526, 541}) {
        EXPECT_TRUE(ui::FormAssignOffersMediaType(assignment, 9, type)) << type;
        EXPECT_TRUE(ui::FormAssignOffersMediaType(assignment, 11, type)) << type;
    }
}

TEST(FormAssignMedia, SlotsBeyondThePrintersSourcesDoNotCount) {
    const ui::FormAssignment assignment = Assignment({9, 9, 9}, {521, 521, 526}, 2);
    EXPECT_FALSE(ui::FormAssignOffersMediaType(assignment, 9, 526));
    // More sources than slots: all seven count, no further.
    const ui::FormAssignment seven =
        Assignment({9, 9, 9, 9, 9, 9, 9}, {521, 521, 521, 521, 521, 521, 526}, 200);
    EXPECT_TRUE(ui::FormAssignOffersMediaType(seven, 9, 526));
    EXPECT_FALSE(ui::FormAssignOffersMediaType(seven, 9, 530));
}

TEST(FormAssignMedia, ACustomMediumMatchesItsPaperListValue) {
    // Custom medium 2 as the list holds it: 0x8002; as the setting holds it: a negative entry.
    const ui::FormAssignment assignment =
        Assignment({static_cast<SHORT>(0x8002), 9}, {536, 521}, 2);
    EXPECT_TRUE(ui::FormAssignOffersMediaType(assignment, 0x8002, 536));
    EXPECT_FALSE(ui::FormAssignOffersMediaType(assignment, 0x8002, 521));
    EXPECT_FALSE(ui::FormAssignOffersMediaType(assignment, 9, 536));
}

TEST(ColourModes, OnlyTheIcmModeTakesColourManagement) {
    constexpr DWORD kNone = 1;
    for (DWORD mode : {2, 5, 9}) {
        EXPECT_TRUE(ui::ColourModeAllowsIcm(mode, kNone)) << mode;
        for (DWORD method : {2, 3, 4}) {
            EXPECT_FALSE(ui::ColourModeAllowsIcm(mode, method)) << mode << " " << method;
        }
    }
    for (DWORD method : {1, 2, 3, 4}) {
        EXPECT_TRUE(ui::ColourModeAllowsIcm(10, method)) << method;
    }
    // Modes the printers do not have refuse nothing.
    EXPECT_TRUE(ui::ColourModeAllowsIcm(3, 2));
}

} // namespace
} // namespace moltr::test

#include "uiplugin/engine/compatibility_tables.h"
#include "common/model_family.h"

namespace moltr::ui {

namespace {

// The row of `modelClass`, else the row of the drivers outside the family; null when neither has
// one.
template <typename Row, size_t N> const Row* RowOf(const Row (&rows)[N], DWORD modelClass) {
    for (DWORD wanted : {modelClass, common::kUnknownModelClass}) {
        for (const Row& row : rows) {
            if (row.classes.Contains(wanted)) {
                return &row;
            }
        }
    }
    return nullptr;
}

// Media types the source refuses, and where each refusal sends the paper: to the automatic
// source when another tray can feed the media, to the upper (multi-purpose) tray when only it
// takes heavy media, films and the back sides. On classes 7 and 16 the plain back side goes to
// the upper tray from the trays 520-523, as on class 3, and never to the automatic source as
// well. Drivers outside the family have no row.
struct SourceMediaRow {
    CodeSet classes;
    CodeSet sources;
    CodeSet toAutomatic;
    CodeSet toUpper;
};
constexpr SourceMediaRow kSourceMedia[] = {
    {{1}, {1, 4}, {521, {523, 525}}, {}},
    {{1}, {15}, {}, {{526, 529}, 538}},
    {{1}, {520, 521}, {521, {523, 525}}, {{526, 529}, 538}},
    {{2, 11}, {1, 4}, {521, {523, 525}, 532}, {}},
    {{2, 11}, {15}, {}, {{526, 528}, 530, 531}},
    {{2, 11}, {{520, 523}}, {521, {523, 525}, 532}, {{526, 528}, 530, 531}},
    {{3}, {1, 4}, {521, {523, 525}}, {}},
    {{3}, {15}, {}, {522, {526, 537}}},
    {{3}, {{520, 523}}, {521, {523, 525}}, {522, {526, 537}}},
    {{4, 6, 13, 15}, {1, 4}, {{521, 525}, 532, 533, 539}, {}},
    {{4, 6, 13, 15}, {15}, {}, {{526, 530}, 536}},
    {{4, 6, 13, 15}, {520, 521}, {{521, 525}, 532, 533, 539}, {{526, 530}, 536}},
    {{5, 14}, {1, 4}, {{521, 525}, 532, 533, 539}, {}},
    {{5, 14}, {15}, {}, {{526, 531}, 536, 537}},
    {{5, 14}, {520}, {{521, 525}, 532, 533, 539}, {{526, 531}, 536, 537}},
    {{7, 16}, {1, 4}, {{521, 525}, 532, 539}, {}},
    {{7, 16}, {15}, {}, {{526, 531}, 536, 537, 540, 541}},
    {{7, 16}, {{520, 523}}, {521, {523, 525}, 532, 539}, {522, {526, 531}, 536, 537, 540, 541}},
};

// A media rule of the duplex table: the types refused, or (when `allowedOnly`) the only types
// allowed.
struct DuplexMedia {
    bool allowedOnly;
    CodeSet codes;
};
constexpr DuplexMedia kFilmAndLabels = {false, {526, 527}};
// Classes 7 and 16 keep one list whoever turns the sheet: plain, heavy, coated and preprinted
// fronts; no back side, narrow or rough paper.
constexpr DuplexMedia kFrontSides = {true, {0, 520, 521, {523, 525}, 528, 530, 532, 536, 539, 540}};

// Duplex per model class. A duplex unit (_DUPLEXTYPE 1) turns only the types its row lists;
// turned by hand every type passes but films and labels, except where a row gives the same rule
// for both.
struct DuplexRow {
    CodeSet classes;
    CodeSet papers;
    CodeSet scaleToSizes;
    DuplexMedia unitMedia;  // _DUPLEXTYPE 1
    DuplexMedia otherMedia; // any other _DUPLEXTYPE
};
constexpr DuplexRow kDuplex[] = {
    {{1},
     {1, 7, 8, 9, 11, 12, 13, 17},
     {1, 7, 9, 11, 13},
     {true, {0, 520, 521, {523, 525}}},
     kFilmAndLabels},
    {{2, 4, 6, 11, 13, 15},
     {1, 5, {7, 9}, {11, 14}, 17},
     {1, 5, 7, 9, 11, 13, 14},
     {true, {0, 520, 521, {523, 525}, 528, 532}},
     kFilmAndLabels},
    {{3},
     {1, {5, 9}, {11, 14}, 17, 60, 66, 257, 258},
     {1, {5, 9}, {11, 14}, 17, 60, 258},
     {true, {0, 520, 521, {523, 525}, 532}},
     kFilmAndLabels},
    {{5, 14}, {1, 5, 7, 8, 9, 12, 13, 17}, {1, 5, 7, 9, 13}, kFilmAndLabels, kFilmAndLabels},
    {{7, 16},
     {1, 5, {7, 9}, {11, 14}, 17, 60, 66, {257, 259}},
     {1, 5, {7, 9}, {11, 14}, 17, 60, 258, 259},
     kFrontSides,
     kFrontSides},
    {{20},
     {1, {5, 9}, {11, 14}, 17, 60, 66, 257, 258},
     {1, {5, 9}, {11, 14}, 17, 60, 258},
     kFilmAndLabels,
     kFilmAndLabels},
};

// The advanced page is stricter than the duplex table for drivers outside the family: only the
// common office sizes, and the large ones while the large-size unit is enabled. The family's
// classes use the duplex table's scale-to column.
struct AdvancedScaleToRow {
    CodeSet classes;
    CodeSet sizes;
    CodeSet largeSizes;
};
constexpr AdvancedScaleToRow kAdvancedScaleTo[] = {
    {{20}, {1, 9, 11, 13, 14, 60, 258}, {8, 12, 17}},
};

// A booklet folds two pages onto each side of a sheet of the same paper: the booklet values
// name the paper and the binding edge (even left, odd right), as the render plug-in reads them
// back to choose the output paper.
constexpr BookletPaper kBookletPapers[] = {
    {1, 2, 3},   {5, 4, 5},   {9, 6, 7},    {11, 10, 11}, {13, 12, 13},
    {6, 14, 15}, {8, 20, 21}, {12, 22, 23}, {17, 24, 25},
};

// Envelope 10, DL, C5, C6, B5 and Monarch: the envelope sizes of the sample descriptions.
constexpr CodeSet kEnvelopes = {20, 27, 28, 31, 34, 37};

// The sizes each source feeds. The cassettes (520-522 and the optional 524) take cut sheets
// from A5 up, and on the models with a large-size unit (classes 3, 7 and 16, whose paper limits
// reach beyond 300 mm) also A3, B4 and 11x17, A3F only where the limits reach 311.2 mm; the
// envelope feeder 523 takes envelopes only. The upper (multi-purpose) tray, the manual feed
// and the automatic source have no rule: they feed every size, custom media included. So have
// the sources of drivers outside the family, whose trays are unknown.
constexpr CodeSet kFamilyClasses = {{1, 7}, 11, {13, 16}};
constexpr CodeSet kCassettes = {{520, 522}, 524};
constexpr WORD kEnvelopeFeeder = 523;
struct FeedRow {
    CodeSet classes;
    CodeSet sources;
    CodeSet sizes;
};
constexpr FeedRow kFeeds[] = {
    {{7, 16}, kCassettes, {1, 5, {7, 9}, {11, 14}, 17, 60, 258, 259}},
    {{3}, kCassettes, {1, 5, {7, 9}, {11, 14}, 17, 60, 258}},
    {kFamilyClasses, kCassettes, {1, 5, 7, 9, 11, 13, 14, 60, 258}},
    {kFamilyClasses, {kEnvelopeFeeder}, kEnvelopes},
};

// Form-assignment slot j is the source whose selection the description sends as page-setup
// callback 122 + j (the render plug-in writes the same id for a paper assigned to slot j): the
// upper tray, trays 2-5 and, in the last slot, the envelope feeder. Slot 5 has no source.
constexpr DWORD kFormAssignSlotSources[kFormAssignSlots] = {1, 520, 521, 522, 524, 0, 523};

// The manual feed.
constexpr CodeSet kSingleSheetSources = {4};

// The face-up tray holds sheets up to Legal length; A3, B4, 11x17, A2 and A3F are longer. Media
// types are not refused by it: the heavy ones need it (below).
constexpr CodeSet kFaceUpRefusedPapers = {8, 12, 17, 66, 259};
// Transparencies, labels, extra thick and super thick media (both sides) do not take the bend of
// the face-down path.
constexpr CodeSet kFaceUpMedia = {526, 527, 530, 531, 540, 541};

// Colour modes 2 and 5 are the printer's own presets and 9 its manual adjustment: they print
// without colour management. Mode 10 hands the colours to the chosen method. DMICMMETHOD_NONE
// is 1.
struct ColourModeRow {
    CodeSet modes;
    CodeSet icmMethods;
};
constexpr ColourModeRow kColourModes[] = {
    {{2, 5, 9}, {1}},
    {{10}, {{1, 4}}},
};

} // namespace

SourceMove SourceMoveForMediaType(DWORD modelClass, DWORD source, DWORD mediaType) {
    for (const SourceMediaRow& row : kSourceMedia) {
        if (!row.classes.Contains(modelClass) || !row.sources.Contains(source)) {
            continue;
        }
        if (row.toAutomatic.Contains(mediaType)) {
            return SourceMove::kToAutomatic;
        }
        if (row.toUpper.Contains(mediaType)) {
            return SourceMove::kToUpper;
        }
        return SourceMove::kStay;
    }
    return SourceMove::kStay;
}

bool DuplexAllowsPaper(DWORD modelClass, DWORD paper) {
    const DuplexRow* row = RowOf(kDuplex, modelClass);
    return row != nullptr && row->papers.Contains(paper);
}

bool DuplexAllowsScaleTo(DWORD modelClass, DWORD scaleToSize) {
    const DuplexRow* row = RowOf(kDuplex, modelClass);
    return row != nullptr && row->scaleToSizes.Contains(scaleToSize);
}

bool DuplexRefusesMediaType(DWORD modelClass, DWORD duplexType, DWORD mediaType) {
    const DuplexRow* row = RowOf(kDuplex, modelClass);
    if (row == nullptr) {
        return false;
    }
    const DuplexMedia& media = duplexType == 1 ? row->unitMedia : row->otherMedia;
    return media.codes.Contains(mediaType) != media.allowedOnly;
}

bool AdvancedAllowsScaleTo(DWORD modelClass, DWORD scaleToSize, bool largeSizes) {
    for (const AdvancedScaleToRow& row : kAdvancedScaleTo) {
        if (row.classes.Contains(modelClass)) {
            return row.sizes.Contains(scaleToSize) ||
                   (largeSizes && row.largeSizes.Contains(scaleToSize));
        }
    }
    return DuplexAllowsScaleTo(modelClass, scaleToSize);
}

const BookletPaper* BookletPaperOf(DWORD paper) {
    for (const BookletPaper& booklet : kBookletPapers) {
        if (booklet.paper == paper) {
            return &booklet;
        }
    }
    return nullptr;
}

bool BookletOffersValue(DWORD paper, DWORD bookletValue) {
    if (bookletValue == kBookletOff) {
        return true;
    }
    const BookletPaper* booklet = BookletPaperOf(paper);
    return booklet != nullptr &&
           (bookletValue == booklet->leftBinding || bookletValue == booklet->rightBinding);
}

bool IsEnvelope(DWORD paper) {
    return kEnvelopes.Contains(paper);
}

bool SourceCanFeed(DWORD modelClass, DWORD source, DWORD paper) {
    for (const FeedRow& row : kFeeds) {
        if (row.classes.Contains(modelClass) && row.sources.Contains(source)) {
            return row.sizes.Contains(paper);
        }
    }
    return true;
}

DWORD FormAssignSlotSource(DWORD slot) {
    return slot < kFormAssignSlots ? kFormAssignSlotSources[slot] : 0;
}

bool SourceFeedsSingleSheets(DWORD source) {
    return kSingleSheetSources.Contains(source);
}

bool FaceUpTrayTakesPaper(DWORD paper) {
    return !kFaceUpRefusedPapers.Contains(paper);
}

bool MediaTypeNeedsFaceUpTray(DWORD mediaType) {
    return kFaceUpMedia.Contains(mediaType);
}

bool FormAssignOffersMediaType(const FormAssignment& assignment, DWORD paper, DWORD mediaType) {
    bool paperAssigned = false;
    for (DWORD slot = 0; slot < SourceSlots(assignment); ++slot) {
        // Custom media compare by their paper-list value 0x8000 + n.
        const WORD size = static_cast<WORD>(assignment.sizes[slot]);
        const WORD type = assignment.types[slot];
        if ((size == 0 && type == 0) || (size != 0 && size != paper)) {
            continue;
        }
        paperAssigned = true;
        if (type == 0 || type == mediaType) {
            return true;
        }
    }
    return !paperAssigned;
}

bool ColourModeAllowsIcm(DWORD colourMode, DWORD icmMethod) {
    for (const ColourModeRow& row : kColourModes) {
        if (row.modes.Contains(colourMode)) {
            return row.icmMethods.Contains(icmMethod);
        }
    }
    return true;
}

} // namespace moltr::ui

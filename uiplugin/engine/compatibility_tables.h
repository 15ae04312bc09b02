#pragma once
// Which paper sizes, paper sources, media types, output trays, duplex, booklet and colour choices
// go together on each model class of the family: the data and the pure decisions that the first,
// layout, advanced and form-assignment pages' constraints apply, with the message each rule
// raises. Paper sizes are DMPAPER codes (257-259 the driver's own forms), sources DMBIN codes
// (520-524 the driver's own trays), media types the driver's codes 520-541.
#include <windows.h>
#include <cstddef>
#include <initializer_list>
#include "uiplugin/engine/form_assign_symbols.h"

namespace moltr::ui {

// A single code, or an inclusive range of codes.
struct CodeRange {
    constexpr CodeRange() = default;
    constexpr CodeRange(WORD code) : first(code), last(code) {}
    constexpr CodeRange(WORD low, WORD high) : first(low), last(high) {}
    WORD first = 1;
    WORD last = 0; // an empty range until set
};

// A set of codes written as the tables below read: "521, 523-525" is {521, {523, 525}}. At most
// 12 ranges: a constant table with more does not compile.
class CodeSet {
public:
    constexpr CodeSet(std::initializer_list<CodeRange> ranges) {
        for (const CodeRange& range : ranges) {
            ranges_[count_++] = range;
        }
    }
    constexpr bool Contains(DWORD code) const {
        for (size_t i = 0; i < count_; ++i) {
            if (code >= ranges_[i].first && code <= ranges_[i].last) {
                return true;
            }
        }
        return false;
    }

private:
    CodeRange ranges_[12];
    size_t count_ = 0;
};

inline constexpr DWORD kSourceUpper = 1;      // DMBIN_UPPER
inline constexpr DWORD kSourceManual = 4;     // DMBIN_MANUAL
inline constexpr DWORD kSourceAutomatic = 15; // DMBIN_FORMSOURCE

// Source against media type: where the chosen media type sends the paper source.
enum class SourceMove : DWORD {
    kStay = 0,
    kToAutomatic = kSourceAutomatic,
    kToUpper = kSourceUpper,
};
SourceMove SourceMoveForMediaType(DWORD modelClass, DWORD source, DWORD mediaType);

inline constexpr UINT kSourceRefusesMediaText = 33415; // the source was changed
inline constexpr UINT kMoveToAutomaticText = 33424;    // the media type was changed
inline constexpr UINT kMoveToUpperText = 33416;

// Duplex against paper size, scale-to size and media type. `duplexType` is the printer setting
// _DUPLEXTYPE (1: the printer has a duplex unit).
bool DuplexAllowsPaper(DWORD modelClass, DWORD paper);
bool DuplexAllowsScaleTo(DWORD modelClass, DWORD scaleToSize);
bool DuplexRefusesMediaType(DWORD modelClass, DWORD duplexType, DWORD mediaType);

inline constexpr UINT kDuplexPaperText = 33400;
inline constexpr UINT kDuplexMediaText = 33401;
inline constexpr DWORD kDuplexPaperBalloon = 0x4000;
inline constexpr DWORD kDuplexScaleToBalloon = 0x2000;
inline constexpr DWORD kDuplexMediaBalloon = 0x1000;

// The scale-to sizes the advanced page keeps with duplex on; `largeSizes` is _LRGSIZES.
bool AdvancedAllowsScaleTo(DWORD modelClass, DWORD scaleToSize, bool largeSizes);

inline constexpr UINT kScaleToDuplexText = 33403;

// The booklet item 2153: value 1 is no booklet; a paper with a booklet entry offers its two
// binding values besides it, every other paper none.
inline constexpr DWORD kBookletOff = 1;
struct BookletPaper {
    WORD paper;
    WORD leftBinding;
    WORD rightBinding;
};
// Null when `paper` cannot be made into a booklet.
const BookletPaper* BookletPaperOf(DWORD paper);
bool BookletOffersValue(DWORD paper, DWORD bookletValue);

inline constexpr UINT kBookletPaperText = 33407;
inline constexpr DWORD kBookletPaperBalloon = 0x2000;

// Envelopes are printed one page to a sheet.
bool IsEnvelope(DWORD paper);

inline constexpr UINT kNupEnvelopeText = 33400;

// Whether `source` can feed `paper` on a printer of `modelClass`. Sizes the tables do not name
// (custom media among them) come only from sources without a size rule.
bool SourceCanFeed(DWORD modelClass, DWORD source, DWORD paper);
// The paper source of form-assignment slot `slot` (0-6); 0 for a slot no source answers to.
DWORD FormAssignSlotSource(DWORD slot);

inline constexpr UINT kSourceCannotFeedText = 33413;

// The manual feed takes one sheet at a time: more than one copy from it is worth a note.
bool SourceFeedsSingleSheets(DWORD source);

inline constexpr UINT kSingleSheetText = 33412;

// Output tray 1 is the face-up tray. Heavy media need its straight paper path; the longest
// sheets do not fit it.
inline constexpr DWORD kFaceUpTray = 1;
bool FaceUpTrayTakesPaper(DWORD paper);
bool MediaTypeNeedsFaceUpTray(DWORD mediaType);

inline constexpr UINT kFaceUpPaperText = 33420; // the paper was changed
inline constexpr UINT kFaceUpTrayText = 33421;  // the tray was changed
inline constexpr UINT kFaceUpMediaText = 33414;

// With form assignment on, the media types offered for `paper` (custom medium n as 0x8000 + n):
// those that a slot within the printer's sources assigns to `paper` or to no size; a slot that
// assigns `paper` without a media type offers every type, a slot that assigns neither nothing.
// When no slot takes `paper`, the automatic source decides and every type stays offered.
bool FormAssignOffersMediaType(const FormAssignment& assignment, DWORD paper, DWORD mediaType);

inline constexpr UINT kFormAssignMediaText = 33417;

// Colour mode (item 4053) against the colour management method (item 10, DMICMMETHOD codes).
bool ColourModeAllowsIcm(DWORD colourMode, DWORD icmMethod);

inline constexpr UINT kIcmUnusedText = 33423;         // the method was changed
inline constexpr UINT kColourModeRefusedText = 33425; // the colour mode was changed

// A custom size outside the paper-limit table's row of the model; the custom-media code applies
// that table.
inline constexpr UINT kCustomSizeOutsideLimitsText = 33426;

} // namespace moltr::ui

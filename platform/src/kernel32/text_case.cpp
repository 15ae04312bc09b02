// Case mapping and letters for Basic Latin, Latin-1, Latin Extended-A, the basic Greek block
// (U+0386 to U+03CE) and the basic Cyrillic block (U+0400 to U+045F), following Unicode's simple
// case mapping; every other character has no case and is no letter. Characters whose upper case is
// more than one character (sharp s, U+0149, U+0390, U+03B0) keep their form, and so does the micro
// sign, whose capital would leave Latin-1.
#include "src/kernel32/text_case.h"

namespace moltr::sim::text {
namespace {

// Latin Extended-A pairs an upper-case letter with the lower-case one that follows it; the pairs
// start on even code points except in U+0139 to U+0148 and U+0179 to U+017E.
bool IsPairedLatinA(char16_t c) {
    return (c >= 0x0100 && c <= 0x012F) || (c >= 0x0132 && c <= 0x0137) ||
           (c >= 0x0139 && c <= 0x0148) || (c >= 0x014A && c <= 0x0177) ||
           (c >= 0x0179 && c <= 0x017E);
}

bool IsUpperOfPair(char16_t c) {
    const bool oddPairs = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
    return (c % 2 == 1) == oddPairs;
}

// Greek capitals U+0391 to U+03AB (less the hole at U+03A2) and their small letters 0x20 above.
bool IsGreekCapital(char16_t c) {
    return c >= 0x0391 && c <= 0x03AB && c != 0x03A2;
}

} // namespace

char16_t UpperCase(char16_t c) {
    if (c < 0x80) {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
    }
    if (c < 0x100) {
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
            return static_cast<char16_t>(c - 0x20);
        }
        return c == 0xFF ? char16_t{0x0178} : c;
    }
    if (IsPairedLatinA(c)) {
        return IsUpperOfPair(c) ? c : static_cast<char16_t>(c - 1);
    }
    switch (c) {
    case 0x0131: // dotless i
        return u'I';
    case 0x017F: // long s
        return u'S';
    case 0x03C2: // final sigma
        return 0x03A3;
    case 0x03AC:
        return 0x0386;
    case 0x03AD:
    case 0x03AE:
    case 0x03AF:
        return static_cast<char16_t>(c - 0x25);
    case 0x03CC:
        return 0x038C;
    case 0x03CD:
    case 0x03CE:
        return static_cast<char16_t>(c - 0x3F);
    default:
        break;
    }
    if (IsGreekCapital(static_cast<char16_t>(c - 0x20))) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c >= 0x0430 && c <= 0x044F) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c >= 0x0450 && c <= 0x045F) {
        return static_cast<char16_t>(c - 0x50);
    }
    return c;
}

char16_t LowerCase(char16_t c) {
    if (c < 0x80) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
    }
    if (c < 0x100) {
        return c >= 0xC0 && c <= 0xDE && c != 0xD7 ? static_cast<char16_t>(c + 0x20) : c;
    }
    if (IsPairedLatinA(c)) {
        return IsUpperOfPair(c) ? static_cast<char16_t>(c + 1) : c;
    }
    switch (c) {
    case 0x0130: // capital I with dot above
        return u'i';
    case 0x0178:
        return 0x00FF;
    case 0x0386:
        return 0x03AC;
    case 0x0388:
    case 0x0389:
    case 0x038A:
        return static_cast<char16_t>(c + 0x25);
    case 0x038C:
        return 0x03CC;
    case 0x038E:
    case 0x038F:
        return static_cast<char16_t>(c + 0x3F);
    default:
        break;
    }
    if (IsGreekCapital(c)) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x0410 && c <= 0x042F) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x0400 && c <= 0x040F) {
        return static_cast<char16_t>(c + 0x50);
    }
    return c;
}

bool IsLetter(char16_t c) {
    if (UpperCase(c) != c || LowerCase(c) != c) {
        return true;
    }
    // The letters of these blocks that have no case or no single-character partner.
    switch (c) {
    case 0x00AA: // feminine ordinal
    case 0x00B5: // micro sign, whose capital would be Greek
    case 0x00BA: // masculine ordinal
    case 0x00DF: // sharp s
    case 0x0138: // kra
    case 0x0149: // n preceded by apostrophe
    case 0x0390:
    case 0x03B0:
        return true;
    default:
        return false;
    }
}

} // namespace moltr::sim::text

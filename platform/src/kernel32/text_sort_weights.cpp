// The word sort's weights of the characters of code pages 1250 to 1253, as Windows's default
// table orders them. A character outside the table sorts as its base letter with a diacritic of
// its own when it has one, else after every character of the table by its code value.
#include "src/kernel32/text_sort_weights.h"
#include "src/kernel32/text_best_fit.h"

#include <algorithm>
#include <iterator>

namespace moltr::sim::text {
namespace {

struct CharacterWeight {
    char16_t character;
    uint16_t primary;
    uint8_t diacritic;
    uint8_t letterCase;
};

// In order of the code values. A primary weight is the script in its high byte (symbols, digits,
// Latin, Greek, Cyrillic in turn) and the base character's place in it in the low one; 2 is the
// plain diacritic and case, the small letter's.
constexpr CharacterWeight kWeights[] = {
    {0x0020, 0x0702, 2, 2},    // space
    {0x0021, 0x071C, 2, 2},    // exclamation mark
    {0x0022, 0x071D, 2, 2},    // quotation mark
    {0x0023, 0x071F, 2, 2},    // number sign
    {0x0024, 0x0721, 2, 2},    // dollar sign
    {0x0025, 0x0723, 2, 2},    // percent sign
    {0x0026, 0x0725, 2, 2},    // ampersand
    {0x0028, 0x0727, 2, 2},    // left parenthesis
    {0x0029, 0x072A, 2, 2},    // right parenthesis
    {0x002A, 0x072D, 2, 2},    // asterisk
    {0x002B, 0x0803, 2, 2},    // plus sign
    {0x002C, 0x072F, 2, 2},    // comma
    {0x002E, 0x0733, 2, 2},    // full stop
    {0x002F, 0x0735, 2, 2},    // solidus
    {0x0030, 0x0D03, 2, 2},    // digit zero
    {0x0031, 0x0D1A, 2, 2},    // digit one
    {0x0032, 0x0D1C, 2, 2},    // digit two
    {0x0033, 0x0D1E, 2, 2},    // digit three
    {0x0034, 0x0D20, 2, 2},    // digit four
    {0x0035, 0x0D22, 2, 2},    // digit five
    {0x0036, 0x0D24, 2, 2},    // digit six
    {0x0037, 0x0D26, 2, 2},    // digit seven
    {0x0038, 0x0D28, 2, 2},    // digit eight
    {0x0039, 0x0D2A, 2, 2},    // digit nine
    {0x003A, 0x0737, 2, 2},    // colon
    {0x003B, 0x073A, 2, 2},    // semicolon
    {0x003C, 0x080E, 2, 2},    // less-than sign
    {0x003D, 0x0812, 2, 2},    // equals sign
    {0x003E, 0x0814, 2, 2},    // greater-than sign
    {0x003F, 0x073C, 2, 2},    // question mark
    {0x0040, 0x073E, 2, 2},    // commercial at
    {0x0041, 0x0E02, 2, 18},   // latin capital letter a
    {0x0042, 0x0E09, 2, 18},   // latin capital letter b
    {0x0043, 0x0E0A, 2, 18},   // latin capital letter c
    {0x0044, 0x0E1A, 2, 18},   // latin capital letter d
    {0x0045, 0x0E21, 2, 18},   // latin capital letter e
    {0x0046, 0x0E23, 2, 18},   // latin capital letter f
    {0x0047, 0x0E25, 2, 18},   // latin capital letter g
    {0x0048, 0x0E2C, 2, 18},   // latin capital letter h
    {0x0049, 0x0E32, 2, 18},   // latin capital letter i
    {0x004A, 0x0E35, 2, 18},   // latin capital letter j
    {0x004B, 0x0E36, 2, 18},   // latin capital letter k
    {0x004C, 0x0E48, 2, 18},   // latin capital letter l
    {0x004D, 0x0E51, 2, 18},   // latin capital letter m
    {0x004E, 0x0E70, 2, 18},   // latin capital letter n
    {0x004F, 0x0E7C, 2, 18},   // latin capital letter o
    {0x0050, 0x0E7E, 2, 18},   // latin capital letter p
    {0x0051, 0x0E89, 2, 18},   // latin capital letter q
    {0x0052, 0x0E8A, 2, 18},   // latin capital letter r
    {0x0053, 0x0E91, 2, 18},   // latin capital letter s
    {0x0054, 0x0E99, 2, 18},   // latin capital letter t
    {0x0055, 0x0E9F, 2, 18},   // latin capital letter u
    {0x0056, 0x0EA2, 2, 18},   // latin capital letter v
    {0x0057, 0x0EA4, 2, 18},   // latin capital letter w
    {0x0058, 0x0EA6, 2, 18},   // latin capital letter x
    {0x0059, 0x0EA7, 2, 18},   // latin capital letter y
    {0x005A, 0x0EA9, 2, 18},   // latin capital letter z
    {0x005B, 0x073F, 2, 2},    // left square bracket
    {0x005C, 0x0741, 2, 2},    // reverse solidus
    {0x005D, 0x0742, 2, 2},    // right square bracket
    {0x005E, 0x0743, 2, 2},    // circumflex accent
    {0x005F, 0x0744, 2, 2},    // low line
    {0x0060, 0x0748, 2, 2},    // grave accent
    {0x0061, 0x0E02, 2, 2},    // latin small letter a
    {0x0062, 0x0E09, 2, 2},    // latin small letter b
    {0x0063, 0x0E0A, 2, 2},    // latin small letter c
    {0x0064, 0x0E1A, 2, 2},    // latin small letter d
    {0x0065, 0x0E21, 2, 2},    // latin small letter e
    {0x0066, 0x0E23, 2, 2},    // latin small letter f
    {0x0067, 0x0E25, 2, 2},    // latin small letter g
    {0x0068, 0x0E2C, 2, 2},    // latin small letter h
    {0x0069, 0x0E32, 2, 2},    // latin small letter i
    {0x006A, 0x0E35, 2, 2},    // latin small letter j
    {0x006B, 0x0E36, 2, 2},    // latin small letter k
    {0x006C, 0x0E48, 2, 2},    // latin small letter l
    {0x006D, 0x0E51, 2, 2},    // latin small letter m
    {0x006E, 0x0E70, 2, 2},    // latin small letter n
    {0x006F, 0x0E7C, 2, 2},    // latin small letter o
    {0x0070, 0x0E7E, 2, 2},    // latin small letter p
    {0x0071, 0x0E89, 2, 2},    // latin small letter q
    {0x0072, 0x0E8A, 2, 2},    // latin small letter r
    {0x0073, 0x0E91, 2, 2},    // latin small letter s
    {0x0074, 0x0E99, 2, 2},    // latin small letter t
    {0x0075, 0x0E9F, 2, 2},    // latin small letter u
    {0x0076, 0x0EA2, 2, 2},    // latin small letter v
    {0x0077, 0x0EA4, 2, 2},    // latin small letter w
    {0x0078, 0x0EA6, 2, 2},    // latin small letter x
    {0x0079, 0x0EA7, 2, 2},    // latin small letter y
    {0x007A, 0x0EA9, 2, 2},    // latin small letter z
    {0x007B, 0x074A, 2, 2},    // left curly bracket
    {0x007C, 0x074C, 2, 2},    // vertical line
    {0x007D, 0x074E, 2, 2},    // right curly bracket
    {0x007E, 0x0750, 2, 2},    // tilde
    {0x0081, 0x0CFA, 30, 2},   // control
    {0x0083, 0x0CFA, 32, 2},   // control
    {0x0088, 0x0CFA, 37, 2},   // control
    {0x008A, 0x0CFA, 39, 2},   // control
    {0x008C, 0x0CFA, 41, 2},   // control
    {0x008D, 0x0CFA, 42, 2},   // control
    {0x008E, 0x0CFA, 43, 2},   // control
    {0x008F, 0x0CFA, 44, 2},   // control
    {0x0090, 0x0CFA, 45, 2},   // control
    {0x0098, 0x0CFA, 53, 2},   // control
    {0x009A, 0x0CFA, 55, 2},   // control
    {0x009C, 0x0CFA, 57, 2},   // control
    {0x009D, 0x0CFA, 58, 2},   // control
    {0x009E, 0x0CFA, 59, 2},   // control
    {0x009F, 0x0CFA, 60, 2},   // control
    {0x00A0, 0x0704, 2, 2},    // no-break space
    {0x00A1, 0x0751, 2, 2},    // inverted exclamation mark
    {0x00A2, 0x0797, 2, 2},    // cent sign
    {0x00A3, 0x0798, 2, 2},    // pound sign
    {0x00A4, 0x0799, 2, 2},    // currency sign
    {0x00A5, 0x079A, 2, 2},    // yen sign
    {0x00A6, 0x0752, 2, 2},    // broken bar
    {0x00A7, 0x0A06, 2, 2},    // section sign
    {0x00A8, 0x0753, 2, 2},    // diaeresis
    {0x00A9, 0x0A07, 2, 2},    // copyright sign
    {0x00AA, 0x0E02, 3, 14},   // feminine ordinal indicator
    {0x00AB, 0x0818, 2, 2},    // left-pointing double angle quotation mark
    {0x00AC, 0x0A08, 2, 2},    // not sign
    {0x00AE, 0x0A09, 2, 2},    // registered sign
    {0x00AF, 0x0754, 2, 2},    // macron
    {0x00B0, 0x0A0A, 2, 2},    // degree sign
    {0x00B1, 0x0817, 2, 2},    // plus-minus sign
    {0x00B2, 0x0D1C, 2, 14},   // superscript two
    {0x00B3, 0x0D1E, 2, 14},   // superscript three
    {0x00B4, 0x0755, 2, 2},    // acute accent
    {0x00B5, 0x0A0B, 2, 2},    // micro sign
    {0x00B6, 0x0A0C, 2, 2},    // pilcrow sign
    {0x00B7, 0x0A0D, 2, 2},    // middle dot
    {0x00B8, 0x0756, 2, 2},    // cedilla
    {0x00B9, 0x0D1A, 2, 14},   // superscript one
    {0x00BA, 0x0E7C, 3, 14},   // masculine ordinal indicator
    {0x00BB, 0x081A, 2, 2},    // right-pointing double angle quotation mark
    {0x00BC, 0x0D0D, 2, 2},    // vulgar fraction one quarter
    {0x00BD, 0x0D11, 2, 2},    // vulgar fraction one half
    {0x00BE, 0x0D15, 2, 2},    // vulgar fraction three quarters
    {0x00BF, 0x0757, 2, 2},    // inverted question mark
    {0x00C0, 0x0E02, 15, 18},  // latin capital letter a with grave
    {0x00C1, 0x0E02, 14, 18},  // latin capital letter a with acute
    {0x00C2, 0x0E02, 18, 18},  // latin capital letter a with circumflex
    {0x00C3, 0x0E02, 25, 18},  // latin capital letter a with tilde
    {0x00C4, 0x0E02, 19, 18},  // latin capital letter a with diaeresis
    {0x00C5, 0x0E02, 26, 18},  // latin capital letter a with ring above
    {0x00C7, 0x0E0A, 28, 18},  // latin capital letter c with cedilla
    {0x00C8, 0x0E21, 15, 18},  // latin capital letter e with grave
    {0x00C9, 0x0E21, 14, 18},  // latin capital letter e with acute
    {0x00CA, 0x0E21, 18, 18},  // latin capital letter e with circumflex
    {0x00CB, 0x0E21, 19, 18},  // latin capital letter e with diaeresis
    {0x00CC, 0x0E32, 15, 18},  // latin capital letter i with grave
    {0x00CD, 0x0E32, 14, 18},  // latin capital letter i with acute
    {0x00CE, 0x0E32, 18, 18},  // latin capital letter i with circumflex
    {0x00CF, 0x0E32, 19, 18},  // latin capital letter i with diaeresis
    {0x00D0, 0x0E1A, 104, 18}, // latin capital letter eth
    {0x00D1, 0x0E70, 25, 18},  // latin capital letter n with tilde
    {0x00D2, 0x0E7C, 15, 18},  // latin capital letter o with grave
    {0x00D3, 0x0E7C, 14, 18},  // latin capital letter o with acute
    {0x00D4, 0x0E7C, 18, 18},  // latin capital letter o with circumflex
    {0x00D5, 0x0E7C, 25, 18},  // latin capital letter o with tilde
    {0x00D6, 0x0E7C, 19, 18},  // latin capital letter o with diaeresis
    {0x00D7, 0x081C, 2, 2},    // multiplication sign
    {0x00D8, 0x0E7C, 33, 18},  // latin capital letter o with stroke
    {0x00D9, 0x0E9F, 15, 18},  // latin capital letter u with grave
    {0x00DA, 0x0E9F, 14, 18},  // latin capital letter u with acute
    {0x00DB, 0x0E9F, 18, 18},  // latin capital letter u with circumflex
    {0x00DC, 0x0E9F, 19, 18},  // latin capital letter u with diaeresis
    {0x00DD, 0x0EA7, 14, 18},  // latin capital letter y with acute
    {0x00E0, 0x0E02, 15, 2},   // latin small letter a with grave
    {0x00E1, 0x0E02, 14, 2},   // latin small letter a with acute
    {0x00E2, 0x0E02, 18, 2},   // latin small letter a with circumflex
    {0x00E3, 0x0E02, 25, 2},   // latin small letter a with tilde
    {0x00E4, 0x0E02, 19, 2},   // latin small letter a with diaeresis
    {0x00E5, 0x0E02, 26, 2},   // latin small letter a with ring above
    {0x00E7, 0x0E0A, 28, 2},   // latin small letter c with cedilla
    {0x00E8, 0x0E21, 15, 2},   // latin small letter e with grave
    {0x00E9, 0x0E21, 14, 2},   // latin small letter e with acute
    {0x00EA, 0x0E21, 18, 2},   // latin small letter e with circumflex
    {0x00EB, 0x0E21, 19, 2},   // latin small letter e with diaeresis
    {0x00EC, 0x0E32, 15, 2},   // latin small letter i with grave
    {0x00ED, 0x0E32, 14, 2},   // latin small letter i with acute
    {0x00EE, 0x0E32, 18, 2},   // latin small letter i with circumflex
    {0x00EF, 0x0E32, 19, 2},   // latin small letter i with diaeresis
    {0x00F0, 0x0E1A, 104, 2},  // latin small letter eth
    {0x00F1, 0x0E70, 25, 2},   // latin small letter n with tilde
    {0x00F2, 0x0E7C, 15, 2},   // latin small letter o with grave
    {0x00F3, 0x0E7C, 14, 2},   // latin small letter o with acute
    {0x00F4, 0x0E7C, 18, 2},   // latin small letter o with circumflex
    {0x00F5, 0x0E7C, 25, 2},   // latin small letter o with tilde
    {0x00F6, 0x0E7C, 19, 2},   // latin small letter o with diaeresis
    {0x00F7, 0x081D, 2, 2},    // division sign
    {0x00F8, 0x0E7C, 33, 2},   // latin small letter o with stroke
    {0x00F9, 0x0E9F, 15, 2},   // latin small letter u with grave
    {0x00FA, 0x0E9F, 14, 2},   // latin small letter u with acute
    {0x00FB, 0x0E9F, 18, 2},   // latin small letter u with circumflex
    {0x00FC, 0x0E9F, 19, 2},   // latin small letter u with diaeresis
    {0x00FD, 0x0EA7, 14, 2},   // latin small letter y with acute
    {0x00FF, 0x0EA7, 19, 2},   // latin small letter y with diaeresis
    {0x0102, 0x0E02, 21, 18},  // latin capital letter a with breve
    {0x0103, 0x0E02, 21, 2},   // latin small letter a with breve
    {0x0104, 0x0E02, 27, 18},  // latin capital letter a with ogonek
    {0x0105, 0x0E02, 27, 2},   // latin small letter a with ogonek
    {0x0106, 0x0E0A, 14, 18},  // latin capital letter c with acute
    {0x0107, 0x0E0A, 14, 2},   // latin small letter c with acute
    {0x010C, 0x0E0A, 20, 18},  // latin capital letter c with caron
    {0x010D, 0x0E0A, 20, 2},   // latin small letter c with caron
    {0x010E, 0x0E1A, 20, 18},  // latin capital letter d with caron
    {0x010F, 0x0E1A, 20, 2},   // latin small letter d with caron
    {0x0110, 0x0E1A, 30, 18},  // latin capital letter d with stroke
    {0x0111, 0x0E1A, 30, 2},   // latin small letter d with stroke
    {0x0118, 0x0E21, 27, 18},  // latin capital letter e with ogonek
    {0x0119, 0x0E21, 27, 2},   // latin small letter e with ogonek
    {0x011A, 0x0E21, 20, 18},  // latin capital letter e with caron
    {0x011B, 0x0E21, 20, 2},   // latin small letter e with caron
    {0x0139, 0x0E48, 14, 18},  // latin capital letter l with acute
    {0x013A, 0x0E48, 14, 2},   // latin small letter l with acute
    {0x013D, 0x0E48, 20, 18},  // latin capital letter l with caron
    {0x013E, 0x0E48, 20, 2},   // latin small letter l with caron
    {0x0141, 0x0E48, 31, 18},  // latin capital letter l with stroke
    {0x0142, 0x0E48, 31, 2},   // latin small letter l with stroke
    {0x0143, 0x0E70, 14, 18},  // latin capital letter n with acute
    {0x0144, 0x0E70, 14, 2},   // latin small letter n with acute
    {0x0147, 0x0E70, 20, 18},  // latin capital letter n with caron
    {0x0148, 0x0E70, 20, 2},   // latin small letter n with caron
    {0x0150, 0x0E7C, 29, 18},  // latin capital letter o with double acute
    {0x0151, 0x0E7C, 29, 2},   // latin small letter o with double acute
    {0x0154, 0x0E8A, 14, 18},  // latin capital letter r with acute
    {0x0155, 0x0E8A, 14, 2},   // latin small letter r with acute
    {0x0158, 0x0E8A, 20, 18},  // latin capital letter r with caron
    {0x0159, 0x0E8A, 20, 2},   // latin small letter r with caron
    {0x015A, 0x0E91, 14, 18},  // latin capital letter s with acute
    {0x015B, 0x0E91, 14, 2},   // latin small letter s with acute
    {0x015E, 0x0E91, 28, 18},  // latin capital letter s with cedilla
    {0x015F, 0x0E91, 28, 2},   // latin small letter s with cedilla
    {0x0160, 0x0E91, 20, 18},  // latin capital letter s with caron
    {0x0161, 0x0E91, 20, 2},   // latin small letter s with caron
    {0x0162, 0x0E99, 28, 18},  // latin capital letter t with cedilla
    {0x0163, 0x0E99, 28, 2},   // latin small letter t with cedilla
    {0x0164, 0x0E99, 20, 18},  // latin capital letter t with caron
    {0x0165, 0x0E99, 20, 2},   // latin small letter t with caron
    {0x016E, 0x0E9F, 26, 18},  // latin capital letter u with ring above
    {0x016F, 0x0E9F, 26, 2},   // latin small letter u with ring above
    {0x0170, 0x0E9F, 29, 18},  // latin capital letter u with double acute
    {0x0171, 0x0E9F, 29, 2},   // latin small letter u with double acute
    {0x0178, 0x0EA7, 19, 18},  // latin capital letter y with diaeresis
    {0x0179, 0x0EA9, 14, 18},  // latin capital letter z with acute
    {0x017A, 0x0EA9, 14, 2},   // latin small letter z with acute
    {0x017B, 0x0EA9, 16, 18},  // latin capital letter z with dot above
    {0x017C, 0x0EA9, 16, 2},   // latin small letter z with dot above
    {0x017D, 0x0EA9, 20, 18},  // latin capital letter z with caron
    {0x017E, 0x0EA9, 20, 2},   // latin small letter z with caron
    {0x0192, 0x0E23, 67, 2},   // latin small letter f with hook
    {0x02C6, 0x0743, 2, 2},    // modifier letter circumflex accent
    {0x02C7, 0x0759, 2, 2},    // caron
    {0x02D8, 0x0759, 3, 2},    // breve
    {0x02D9, 0x075A, 2, 2},    // dot above
    {0x02DB, 0x075C, 2, 2},    // ogonek
    {0x02DC, 0x075D, 2, 2},    // small tilde
    {0x02DD, 0x075E, 2, 2},    // double acute accent
    {0x0384, 0x0763, 2, 2},    // greek tonos
    {0x0385, 0x0753, 2, 2},    // greek dialytika tonos
    {0x0386, 0x0F02, 14, 18},  // greek capital letter alpha with tonos
    {0x0388, 0x0F0A, 14, 18},  // greek capital letter epsilon with tonos
    {0x0389, 0x0F0E, 14, 18},  // greek capital letter eta with tonos
    {0x038A, 0x0F12, 14, 18},  // greek capital letter iota with tonos
    {0x038C, 0x0F20, 14, 18},  // greek capital letter omicron with tonos
    {0x038E, 0x0F2A, 14, 18},  // greek capital letter upsilon with tonos
    {0x038F, 0x0F32, 14, 18},  // greek capital letter omega with tonos
    {0x0390, 0x0F12, 31, 2},   // greek small letter iota with dialytika and tonos
    {0x0391, 0x0F02, 2, 18},   // greek capital letter alpha
    {0x0392, 0x0F04, 2, 18},   // greek capital letter beta
    {0x0393, 0x0F06, 2, 18},   // greek capital letter gamma
    {0x0394, 0x0F08, 2, 18},   // greek capital letter delta
    {0x0395, 0x0F0A, 2, 18},   // greek capital letter epsilon
    {0x0396, 0x0F0C, 2, 18},   // greek capital letter zeta
    {0x0397, 0x0F0E, 2, 18},   // greek capital letter eta
    {0x0398, 0x0F10, 2, 18},   // greek capital letter theta
    {0x0399, 0x0F12, 2, 18},   // greek capital letter iota
    {0x039A, 0x0F14, 2, 18},   // greek capital letter kappa
    {0x039B, 0x0F16, 2, 18},   // greek capital letter lamda
    {0x039C, 0x0F18, 2, 18},   // greek capital letter mu
    {0x039D, 0x0F1C, 2, 18},   // greek capital letter nu
    {0x039E, 0x0F1E, 2, 18},   // greek capital letter xi
    {0x039F, 0x0F20, 2, 18},   // greek capital letter omicron
    {0x03A0, 0x0F22, 2, 18},   // greek capital letter pi
    {0x03A1, 0x0F24, 2, 18},   // greek capital letter rho
    {0x03A3, 0x0F26, 2, 18},   // greek capital letter sigma
    {0x03A4, 0x0F28, 2, 18},   // greek capital letter tau
    {0x03A5, 0x0F2A, 2, 18},   // greek capital letter upsilon
    {0x03A6, 0x0F2C, 2, 18},   // greek capital letter phi
    {0x03A7, 0x0F2E, 2, 18},   // greek capital letter chi
    {0x03A8, 0x0F30, 2, 18},   // greek capital letter psi
    {0x03A9, 0x0F32, 2, 18},   // greek capital letter omega
    {0x03AA, 0x0F12, 19, 18},  // greek capital letter iota with dialytika
    {0x03AB, 0x0F2A, 19, 18},  // greek capital letter upsilon with dialytika
    {0x03AC, 0x0F02, 14, 2},   // greek small letter alpha with tonos
    {0x03AD, 0x0F0A, 14, 2},   // greek small letter epsilon with tonos
    {0x03AE, 0x0F0E, 14, 2},   // greek small letter eta with tonos
    {0x03AF, 0x0F12, 14, 2},   // greek small letter iota with tonos
    {0x03B0, 0x0F2A, 31, 2},   // greek small letter upsilon with dialytika and tonos
    {0x03B1, 0x0F02, 2, 2},    // greek small letter alpha
    {0x03B2, 0x0F04, 2, 2},    // greek small letter beta
    {0x03B3, 0x0F06, 2, 2},    // greek small letter gamma
    {0x03B4, 0x0F08, 2, 2},    // greek small letter delta
    {0x03B5, 0x0F0A, 2, 2},    // greek small letter epsilon
    {0x03B6, 0x0F0C, 2, 2},    // greek small letter zeta
    {0x03B7, 0x0F0E, 2, 2},    // greek small letter eta
    {0x03B8, 0x0F10, 2, 2},    // greek small letter theta
    {0x03B9, 0x0F12, 2, 2},    // greek small letter iota
    {0x03BA, 0x0F14, 2, 2},    // greek small letter kappa
    {0x03BB, 0x0F16, 2, 2},    // greek small letter lamda
    {0x03BC, 0x0F18, 2, 2},    // greek small letter mu
    {0x03BD, 0x0F1C, 2, 2},    // greek small letter nu
    {0x03BE, 0x0F1E, 2, 2},    // greek small letter xi
    {0x03BF, 0x0F20, 2, 2},    // greek small letter omicron
    {0x03C0, 0x0F22, 2, 2},    // greek small letter pi
    {0x03C1, 0x0F24, 2, 2},    // greek small letter rho
    {0x03C2, 0x0F26, 2, 10},   // greek small letter final sigma
    {0x03C3, 0x0F26, 2, 2},    // greek small letter sigma
    {0x03C4, 0x0F28, 2, 2},    // greek small letter tau
    {0x03C5, 0x0F2A, 2, 2},    // greek small letter upsilon
    {0x03C6, 0x0F2C, 2, 2},    // greek small letter phi
    {0x03C7, 0x0F2E, 2, 2},    // greek small letter chi
    {0x03C8, 0x0F30, 2, 2},    // greek small letter psi
    {0x03C9, 0x0F32, 2, 2},    // greek small letter omega
    {0x03CA, 0x0F12, 19, 2},   // greek small letter iota with dialytika
    {0x03CB, 0x0F2A, 19, 2},   // greek small letter upsilon with dialytika
    {0x03CC, 0x0F20, 14, 2},   // greek small letter omicron with tonos
    {0x03CD, 0x0F2A, 14, 2},   // greek small letter upsilon with tonos
    {0x03CE, 0x0F32, 14, 2},   // greek small letter omega with tonos
    {0x0401, 0x1014, 19, 18},  // cyrillic capital letter io
    {0x0402, 0x1011, 2, 18},   // cyrillic capital letter dje
    {0x0403, 0x100A, 14, 18},  // cyrillic capital letter gje
    {0x0404, 0x1019, 2, 18},   // cyrillic capital letter ukrainian ie
    {0x0405, 0x1020, 2, 18},   // cyrillic capital letter dze
    {0x0406, 0x1026, 2, 18},   // cyrillic capital letter byelorussian-ukrainian i
    {0x0407, 0x1026, 19, 18},  // cyrillic capital letter yi
    {0x0408, 0x102C, 2, 18},   // cyrillic capital letter je
    {0x0409, 0x1034, 2, 18},   // cyrillic capital letter lje
    {0x040A, 0x1044, 2, 18},   // cyrillic capital letter nje
    {0x040B, 0x105D, 2, 18},   // cyrillic capital letter tshe
    {0x040C, 0x102E, 14, 18},  // cyrillic capital letter kje
    {0x040E, 0x1063, 21, 18},  // cyrillic capital letter short u
    {0x040F, 0x1081, 2, 18},   // cyrillic capital letter dzhe
    {0x0410, 0x1002, 2, 18},   // cyrillic capital letter a
    {0x0411, 0x1006, 2, 18},   // cyrillic capital letter be
    {0x0412, 0x1008, 2, 18},   // cyrillic capital letter ve
    {0x0413, 0x100A, 2, 18},   // cyrillic capital letter ghe
    {0x0414, 0x100F, 2, 18},   // cyrillic capital letter de
    {0x0415, 0x1014, 2, 18},   // cyrillic capital letter ie
    {0x0416, 0x101B, 2, 18},   // cyrillic capital letter zhe
    {0x0417, 0x101E, 2, 18},   // cyrillic capital letter ze
    {0x0418, 0x1022, 2, 18},   // cyrillic capital letter i
    {0x0419, 0x1022, 21, 18},  // cyrillic capital letter short i
    {0x041A, 0x102E, 2, 18},   // cyrillic capital letter ka
    {0x041B, 0x1032, 2, 18},   // cyrillic capital letter el
    {0x041C, 0x1038, 2, 18},   // cyrillic capital letter em
    {0x041D, 0x103A, 2, 18},   // cyrillic capital letter en
    {0x041E, 0x1048, 2, 18},   // cyrillic capital letter o
    {0x041F, 0x104F, 2, 18},   // cyrillic capital letter pe
    {0x0420, 0x1051, 2, 18},   // cyrillic capital letter er
    {0x0421, 0x1053, 2, 18},   // cyrillic capital letter es
    {0x0422, 0x1057, 2, 18},   // cyrillic capital letter te
    {0x0423, 0x1063, 2, 18},   // cyrillic capital letter u
    {0x0424, 0x106C, 2, 18},   // cyrillic capital letter ef
    {0x0425, 0x106F, 2, 18},   // cyrillic capital letter ha
    {0x0426, 0x1075, 2, 18},   // cyrillic capital letter tse
    {0x0427, 0x1078, 2, 18},   // cyrillic capital letter che
    {0x0428, 0x1084, 2, 18},   // cyrillic capital letter sha
    {0x0429, 0x1087, 2, 18},   // cyrillic capital letter shcha
    {0x042A, 0x108A, 2, 18},   // cyrillic capital letter hard sign
    {0x042B, 0x108D, 2, 18},   // cyrillic capital letter yeru
    {0x042C, 0x1096, 2, 18},   // cyrillic capital letter soft sign
    {0x042D, 0x109C, 2, 18},   // cyrillic capital letter e
    {0x042E, 0x10A2, 2, 18},   // cyrillic capital letter yu
    {0x042F, 0x10A5, 2, 18},   // cyrillic capital letter ya
    {0x0430, 0x1002, 2, 2},    // cyrillic small letter a
    {0x0431, 0x1006, 2, 2},    // cyrillic small letter be
    {0x0432, 0x1008, 2, 2},    // cyrillic small letter ve
    {0x0433, 0x100A, 2, 2},    // cyrillic small letter ghe
    {0x0434, 0x100F, 2, 2},    // cyrillic small letter de
    {0x0435, 0x1014, 2, 2},    // cyrillic small letter ie
    {0x0436, 0x101B, 2, 2},    // cyrillic small letter zhe
    {0x0437, 0x101E, 2, 2},    // cyrillic small letter ze
    {0x0438, 0x1022, 2, 2},    // cyrillic small letter i
    {0x0439, 0x1022, 21, 2},   // cyrillic small letter short i
    {0x043A, 0x102E, 2, 2},    // cyrillic small letter ka
    {0x043B, 0x1032, 2, 2},    // cyrillic small letter el
    {0x043C, 0x1038, 2, 2},    // cyrillic small letter em
    {0x043D, 0x103A, 2, 2},    // cyrillic small letter en
    {0x043E, 0x1048, 2, 2},    // cyrillic small letter o
    {0x043F, 0x104F, 2, 2},    // cyrillic small letter pe
    {0x0440, 0x1051, 2, 2},    // cyrillic small letter er
    {0x0441, 0x1053, 2, 2},    // cyrillic small letter es
    {0x0442, 0x1057, 2, 2},    // cyrillic small letter te
    {0x0443, 0x1063, 2, 2},    // cyrillic small letter u
    {0x0444, 0x106C, 2, 2},    // cyrillic small letter ef
    {0x0445, 0x106F, 2, 2},    // cyrillic small letter ha
    {0x0446, 0x1075, 2, 2},    // cyrillic small letter tse
    {0x0447, 0x1078, 2, 2},    // cyrillic small letter che
    {0x0448, 0x1084, 2, 2},    // cyrillic small letter sha
    {0x0449, 0x1087, 2, 2},    // cyrillic small letter shcha
    {0x044A, 0x108A, 2, 2},    // cyrillic small letter hard sign
    {0x044B, 0x108D, 2, 2},    // cyrillic small letter yeru
    {0x044C, 0x1096, 2, 2},    // cyrillic small letter soft sign
    {0x044D, 0x109C, 2, 2},    // cyrillic small letter e
    {0x044E, 0x10A2, 2, 2},    // cyrillic small letter yu
    {0x044F, 0x10A5, 2, 2},    // cyrillic small letter ya
    {0x0451, 0x1014, 19, 2},   // cyrillic small letter io
    {0x0452, 0x1011, 2, 2},    // cyrillic small letter dje
    {0x0453, 0x100A, 14, 2},   // cyrillic small letter gje
    {0x0454, 0x1019, 2, 2},    // cyrillic small letter ukrainian ie
    {0x0455, 0x1020, 2, 2},    // cyrillic small letter dze
    {0x0456, 0x1026, 2, 2},    // cyrillic small letter byelorussian-ukrainian i
    {0x0457, 0x1026, 19, 2},   // cyrillic small letter yi
    {0x0458, 0x102C, 2, 2},    // cyrillic small letter je
    {0x0459, 0x1034, 2, 2},    // cyrillic small letter lje
    {0x045A, 0x1044, 2, 2},    // cyrillic small letter nje
    {0x045B, 0x105D, 2, 2},    // cyrillic small letter tshe
    {0x045C, 0x102E, 14, 2},   // cyrillic small letter kje
    {0x045E, 0x1063, 21, 2},   // cyrillic small letter short u
    {0x045F, 0x1081, 2, 2},    // cyrillic small letter dzhe
    {0x0490, 0x100C, 2, 18},   // cyrillic capital letter ghe with upturn
    {0x0491, 0x100C, 2, 2},    // cyrillic small letter ghe with upturn
    {0x2018, 0x0779, 2, 2},    // left single quotation mark
    {0x2019, 0x077A, 2, 2},    // right single quotation mark
    {0x201A, 0x077B, 2, 2},    // single low-9 quotation mark
    {0x201C, 0x077D, 2, 2},    // left double quotation mark
    {0x201D, 0x077E, 2, 2},    // right double quotation mark
    {0x201E, 0x077F, 2, 2},    // double low-9 quotation mark
    {0x2020, 0x0B25, 2, 2},    // dagger
    {0x2021, 0x0B26, 2, 2},    // double dagger
    {0x2022, 0x0B27, 2, 2},    // bullet
    {0x2026, 0x0A10, 2, 2},    // horizontal ellipsis
    {0x2030, 0x0B2C, 12, 2},   // per mille sign
    {0x2039, 0x0788, 2, 2},    // single left-pointing angle quotation mark
    {0x203A, 0x0789, 2, 2},    // single right-pointing angle quotation mark
    {0x20AC, 0x07A9, 2, 2},    // euro sign
    {0x2116, 0x0E71, 2, 18},   // numero sign
    {0x2122, 0x0E9C, 2, 18},   // trade mark sign
};

constexpr bool ByCharacter(const CharacterWeight& a, const CharacterWeight& b) {
    return a.character < b.character;
}
static_assert(std::is_sorted(std::begin(kWeights), std::end(kWeights), ByCharacter));

constexpr uint16_t kLastPrimary =
    std::max_element(
        std::begin(kWeights), std::end(kWeights),
        [](const CharacterWeight& a, const CharacterWeight& b) { return a.primary < b.primary; })
        ->primary;

// Above every diacritic of the table: a base letter's variants outside the code pages sort after
// those inside.
constexpr uint8_t kOtherDiacritic = 0xFF;

struct CharacterExpansion {
    char16_t character;
    std::u16string_view letters;
};

constexpr CharacterExpansion kExpansions[] = {
    {0x00C6, u"AE"}, {0x00DE, u"TH"}, {0x00DF, u"ss"}, {0x00E6, u"ae"},
    {0x00FE, u"th"}, {0x0152, u"OE"}, {0x0153, u"oe"},
};

struct CharacterSpecialWeight {
    char16_t character;
    int weight;
};

// Apostrophe, hyphen-minus, en dash, em dash and horizontal bar, in the order of their weights.
constexpr CharacterSpecialWeight kSpecialWeights[] = {
    {0x0027, 0x80}, {0x002D, 0x82}, {0x2013, 0x89}, {0x2014, 0x90}, {0x2015, 0x92},
};

const CharacterWeight* Find(char16_t c) {
    const auto* entry = std::lower_bound(std::begin(kWeights), std::end(kWeights),
                                         CharacterWeight{c, 0, 0, 0}, ByCharacter);
    return entry != std::end(kWeights) && entry->character == c ? entry : nullptr;
}

} // namespace

SortWeight Weight(char16_t c) {
    if (const CharacterWeight* entry = Find(c)) {
        return {entry->primary, entry->diacritic, entry->letterCase};
    }
    if (const char base = BestFitCharacter(c)) {
        const SortWeight letter = Weight(static_cast<char16_t>(base));
        return {letter.primary, kOtherDiacritic, letter.letterCase};
    }
    return {kLastPrimary + 1u + c, 2, 2};
}

std::u16string_view Expansion(char16_t c) {
    for (const CharacterExpansion& expansion : kExpansions) {
        if (expansion.character == c) {
            return expansion.letters;
        }
    }
    return {};
}

int SpecialWeight(char16_t c) {
    for (const CharacterSpecialWeight& special : kSpecialWeights) {
        if (special.character == c) {
            return special.weight;
        }
    }
    return 0;
}

bool IsIgnorable(char16_t c) {
    return c == 0x00AD;
}

} // namespace moltr::sim::text

// The built-in forms of a new machine: the standard paper sizes, by DMPAPER_ number (48 and 49
// are not paper sizes), named as the spooler names them.
#include "src/winspool/spool_forms.h"

namespace moltr::spool {
namespace {

constexpr BuiltinForm kBuiltinForms[] = {
    {u"Letter", 215900, 279400},                   // 1
    {u"Letter Small", 215900, 279400},             // 2
    {u"Tabloid", 279400, 431800},                  // 3
    {u"Ledger", 431800, 279400},                   // 4
    {u"Legal", 215900, 355600},                    // 5
    {u"Statement", 139700, 215900},                // 6
    {u"Executive", 184150, 266700},                // 7
    {u"A3", 297000, 420000},                       // 8
    {u"A4", 210000, 297000},                       // 9
    {u"A4 Small", 210000, 297000},                 // 10
    {u"A5", 148000, 210000},                       // 11
    {u"B4 (JIS)", 257000, 364000},                 // 12
    {u"B5 (JIS)", 182000, 257000},                 // 13
    {u"Folio", 215900, 330200},                    // 14
    {u"Quarto", 215000, 275000},                   // 15
    {u"10x14", 254000, 355600},                    // 16
    {u"11x17", 279400, 431800},                    // 17
    {u"Note", 215900, 279400},                     // 18
    {u"Envelope #9", 98425, 225425},               // 19
    {u"Envelope #10", 104775, 241300},             // 20
    {u"Envelope #11", 114300, 263525},             // 21
    {u"Envelope #12", 120650, 279400},             // 22
    {u"Envelope #14", 127000, 292100},             // 23
    {u"C size sheet", 431800, 558800},             // 24
    {u"D size sheet", 558800, 863600},             // 25
    {u"E size sheet", 863600, 1117600},            // 26
    {u"Envelope DL", 110000, 220000},              // 27
    {u"Envelope C5", 162000, 229000},              // 28
    {u"Envelope C3", 324000, 458000},              // 29
    {u"Envelope C4", 229000, 324000},              // 30
    {u"Envelope C6", 114000, 162000},              // 31
    {u"Envelope C65", 114000, 229000},             // 32
    {u"Envelope B4", 250000, 353000},              // 33
    {u"Envelope B5", 176000, 250000},              // 34
    {u"Envelope B6", 176000, 125000},              // 35
    {u"Envelope", 110000, 230000},                 // 36
    {u"Envelope Monarch", 98425, 190500},          // 37
    {u"6 3/4 Envelope", 92075, 165100},            // 38
    {u"US Std Fanfold", 377825, 279400},           // 39
    {u"German Std Fanfold", 215900, 304800},       // 40
    {u"German Legal Fanfold", 215900, 330200},     // 41
    {u"B4 (ISO)", 250000, 353000},                 // 42
    {u"Japanese Postcard", 100000, 148000},        // 43
    {u"9x11", 228600, 279400},                     // 44
    {u"10x11", 254000, 279400},                    // 45
    {u"15x11", 381000, 279400},                    // 46
    {u"Envelope Invite", 220000, 220000},          // 47
    {u"Letter Extra", 241300, 304800},             // 50
    {u"Legal Extra", 241300, 381000},              // 51
    {u"Tabloid Extra", 304800, 457200},            // 52
    {u"A4 Extra", 235458, 322326},                 // 53
    {u"Letter Transverse", 215900, 279400},        // 54
    {u"A4 Transverse", 210000, 297000},            // 55
    {u"Letter Extra Transverse", 241300, 304800},  // 56
    {u"Super A", 227000, 356000},                  // 57
    {u"Super B", 305000, 487000},                  // 58
    {u"Letter Plus", 215900, 322326},              // 59
    {u"A4 Plus", 210000, 330000},                  // 60
    {u"A5 Transverse", 148000, 210000},            // 61
    {u"B5 (JIS) Transverse", 182000, 257000},      // 62
    {u"A3 Extra", 322000, 445000},                 // 63
    {u"A5 Extra", 174000, 235000},                 // 64
    {u"B5 (ISO) Extra", 201000, 276000},           // 65
    {u"A2", 420000, 594000},                       // 66
    {u"A3 Transverse", 297000, 420000},            // 67
    {u"A3 Extra Transverse", 322000, 445000},      // 68
    {u"Japanese Double Postcard", 200000, 148000}, // 69
    {u"A6", 105000, 148000},                       // 70
};

} // namespace

std::span<const BuiltinForm> BuiltinForms() {
    return kBuiltinForms;
}

} // namespace moltr::spool

#pragma once
// What an OPTITEM holds, read by its type: the selections it allows, its value as a text and the
// "name: value" text the tree view shows.
#include <compstui.h>

#include <string>

namespace moltr::platform::compstui {

// TVOT_NONE for an item without an OPTTYPE (a header item).
BYTE TypeOf(const OPTITEM& item);
// The number of OPTPARAMs of the item's type.
WORD OptionCount(const OPTITEM& item);
// Whether the user can choose `sel` for the item: an existing option that is neither hidden nor
// disabled, or a value inside the range of numeric types.
bool SelectionAllowed(const OPTITEM& item, LONG sel);
// The characters an edit box item's buffer holds, its terminator included.
size_t EditBufferLength(const OPTITEM& item);
// The text of option `index`; empty outside the options.
std::u16string OptionText(HINSTANCE caller, const OPTITEM& item, LONG index);
std::u16string ValueText(HINSTANCE caller, const OPTITEM& item);
// The tree view's text: the name alone for header and push-button items, else "name: value",
// with the extended check box's checked name after the value while it is checked.
std::u16string ItemText(HINSTANCE caller, const OPTITEM& item);

// The item's extended check box or push button, and whether the user can use it.
bool HasCheckBox(const OPTITEM& item);
bool HasExtPush(const OPTITEM& item);
bool ExtensionUsable(const OPTITEM& item);

// ERR_CPSUI_ code for an item compstui cannot show, 0 when it can.
LONG CheckItem(const OPTITEM& item);

} // namespace moltr::platform::compstui

#pragma once
// How the family names an option item: the plug-in's own items carry their id in DMPubID and
// UserItemID, the host's items are known by DMPubID, by a "#" name or by their help index.
#include <windows.h>
#include <compstui.h>

namespace moltr::ui {

// The id of a plug-in item read back from its DMPubID (100 or more) and UserItemID.
inline constexpr DWORD kUserItemStride = 156;
inline constexpr DWORD kHelpIndexId = 0x80000000;

// A "#" name: "#" and a hexadecimal string id, optionally "|" and a hexadecimal item id. False
// for any other name; without the "|" part the item id is the string id.
bool ParseHashName(LPCWSTR name, DWORD* stringId, DWORD* itemId);

// Whether the host's items with this help index occur once per installable feature.
bool IsPerFeatureHelpIndex(DWORD helpIndex);

} // namespace moltr::ui

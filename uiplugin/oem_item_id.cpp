#include "uiplugin/oem_item_id.h"

#include "uiplugin/engine/item_identity.h"

namespace moltr::ui {

namespace {
constexpr DWORD kFirstSplitId = 100;
constexpr DWORD kLargestUserItemId = 0xFF;
} // namespace

bool EncodeOemItemId(DWORD itemId, OPTITEM& item) {
    if (itemId < kFirstSplitId) {
        item.DMPubID = static_cast<BYTE>(itemId);
        item.UserItemID = 0;
        return true;
    }
    const DWORD userItemId = (itemId - kFirstSplitId) / kUserItemStride;
    if (userItemId > kLargestUserItemId) {
        return false;
    }
    item.DMPubID = static_cast<BYTE>(kFirstSplitId + (itemId - kFirstSplitId) % kUserItemStride);
    item.UserItemID = static_cast<BYTE>(userItemId);
    return true;
}

} // namespace moltr::ui

#pragma once
// What the option-item bookkeeping of a plug-in in this process holds (host build only): a plug-in
// object that keeps option items publishes a view of them while it lives, so that a tool driving
// a property sheet can show the items as that object knows them and find one by its id.
#include <windows.h>
#include <compstui.h>
#include <functional>
#include <string>
#include <vector>

namespace moltr::sim {

struct OptionView {
    std::u16string text;
    BYTE flags = 0;     // OPTPF_
    ULONG_PTR icon = 0; // the icon id (or handle) shown with the option
    LPARAM value = 0;   // the option's value as the owner reads it
};

struct PublishedItem {
    DWORD id = 0;     // the owner's id of the item
    bool own = false; // the plug-in's own item rather than the host's
    const OPTITEM* item = nullptr;
    std::vector<OptionView> options;
};

// A dialog template the owner gave a page in memory, and the resource id it was loaded from.
struct PublishedTemplate {
    const void* dialog = nullptr;
    DWORD id = 0;
};

struct OptionItemsView {
    DWORD uiType = 0; // 1: the items stand in the host's tree view; 2: on the owner's own pages
    std::vector<PublishedItem> items;
    std::vector<PublishedTemplate> templates;
};

using OptionItemLister = std::function<OptionItemsView()>;

// `owner` publishes `lister` until it withdraws; a later publication of the same owner replaces
// the earlier one.
void PublishOptionItems(const void* owner, OptionItemLister lister);
void WithdrawOptionItems(const void* owner);
// The views of every owner that publishes, oldest owner first; call it on the thread that owns
// the items (a sheet's thread), while they live.
std::vector<OptionItemsView> PublishedOptionItems();

} // namespace moltr::sim

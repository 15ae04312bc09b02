// The procedure compstui puts in front of a caller's page.
#include "src/compstui/page_front.h"

#include "src/comctl32/property_page.h"
#include "src/compstui/option_item_page.h"

#include <cstring>
#include <map>
#include <mutex>

namespace moltr::platform::compstui {
namespace {

struct Fronts {
    std::mutex lock;
    std::map<HWND, Node*> pages;
};

Fronts& TheFronts() {
    static Fronts* fronts = new Fronts;
    return *fronts;
}

Node* FrontOf(HWND window) {
    Node* node = nullptr;
    {
        std::lock_guard guard(TheFronts().lock);
        auto found = TheFronts().pages.find(window);
        node = found == TheFronts().pages.end() ? nullptr : found->second;
    }
    return node && NodeOf(HandleOf(node)) ? node : nullptr;
}

void Leave(HWND window) {
    std::lock_guard guard(TheFronts().lock);
    TheFronts().pages.erase(window);
}

INT_PTR Arrive(HWND window, WPARAM wParam, LPARAM lParam) {
    const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    Node* node = description
                     ? static_cast<Node*>(NodeOf(reinterpret_cast<HANDLE>(description->lParam)))
                     : nullptr;
    if (!node || !node->callerProc) {
        return FALSE;
    }
    {
        std::lock_guard guard(TheFronts().lock);
        TheFronts().pages[window] = node;
    }
    node->window = window;
    return node->callerProc(window, WM_INITDIALOG, wParam,
                            reinterpret_cast<LPARAM>(node->callerPage.data()));
}

bool IsApply(UINT message, LPARAM lParam) {
    return message == WM_NOTIFY && lParam &&
           reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY);
}

INT_PTR CALLBACK FrontProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return Arrive(window, wParam, lParam);
    }
    Node* node = FrontOf(window);
    if (!node) {
        return FALSE;
    }
    INT_PTR answer = node->callerProc(window, message, wParam, lParam);
    if (IsApply(message, lParam)) {
        // A page that refused already keeps the sheet open.
        const LRESULT own = answer ? GetWindowLongPtrW(window, DWLP_MSGRESULT) : PSNRET_NOERROR;
        if (own == PSNRET_NOERROR) {
            SetWindowLongPtrW(window, DWLP_MSGRESULT, AnswerApply(node, window));
            answer = TRUE;
        }
    }
    if (message == WM_DESTROY) {
        node->window = nullptr;
        Leave(window);
    }
    return answer;
}

} // namespace

HPROPSHEETPAGE CreateCallerPage(Node* node, const PROPSHEETPAGEW& description) {
    const size_t size = description.dwSize;
    PSPINFO info{sizeof info, 0, HandleOf(node->parent), HandleOf(node), ComPropSheet};
    node->callerPage.assign(size + sizeof info, 0);
    std::memcpy(node->callerPage.data(), &description, size);
    std::memcpy(node->callerPage.data() + size, &info, sizeof info);
    node->callerProc = description.pfnDlgProc;
    std::vector<BYTE> front(node->callerPage.begin(), node->callerPage.begin() + size);
    auto* ours = reinterpret_cast<PROPSHEETPAGEW*>(front.data());
    ours->pfnDlgProc = FrontProc;
    ours->lParam = reinterpret_cast<LPARAM>(HandleOf(node));
    node->page = CreatePropertySheetPageW(ours);
    return node->page;
}

bool TakeCallerPage(Node* node, HPROPSHEETPAGE page) {
    if (!IsPropertyPage(page)) {
        return false;
    }
    PROPSHEETPAGEW& description = page->Description();
    node->callerPage.assign(page->bytes.begin(), page->bytes.begin() + description.dwSize);
    node->callerProc = description.pfnDlgProc;
    description.pfnDlgProc = FrontProc;
    description.lParam = reinterpret_cast<LPARAM>(HandleOf(node));
    node->page = page;
    return true;
}

LRESULT AnswerApply(Node* node, HWND window) {
    for (Node* page : PagesUnder(&node->sheet->root)) {
        if (page->window) {
            if (page != node) {
                return PSNRET_NOERROR; // the groups were applied by the first page
            }
            break;
        }
    }
    for (Node* group : OptionItemGroups(*node->sheet)) {
        if (!group->items->ApplyNow(window)) {
            return PSNRET_INVALID_NOCHANGEPAGE;
        }
    }
    return PSNRET_NOERROR;
}

} // namespace moltr::platform::compstui

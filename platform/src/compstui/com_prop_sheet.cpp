// pfnComPropSheet: the functions a property-sheet UI function calls on its group. Each function
// code has one handler; a handle that is not a live group of a sheet is refused with the
// function's failure answer (0, or -1 for CPSFUNC_SET_RESULT).
#include "src/compstui/sheet_tree.h"

#include "src/compstui/cpsui_strings.h"
#include "src/compstui/option_item_page.h"
#include "src/compstui/page_front.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace moltr::platform::compstui {
namespace {

using Handler = LONG_PTR (*)(Node* group, LPARAM lParam1, LPARAM lParam2);

// A page added while the sheet shows joins it at once.
LONG_PTR Added(Node* page) {
    if (!page->page) {
        RemoveNode(page);
        return 0;
    }
    if (page->sheet->window) {
        PropSheet_AddPage(page->sheet->window, page->page);
    }
    return reinterpret_cast<LONG_PTR>(HandleOf(page));
}

LONG_PTR AddPage(Node* group, LPARAM lParam1, LPARAM) {
    const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
    if (!description || description->dwSize < PROPSHEETPAGEW_V1_SIZE) {
        return 0;
    }
    Node* page = AddChild(group, NodeKind::Page);
    CreateCallerPage(page, *description);
    return Added(page);
}

LONG_PTR AddPageHandle(Node* group, LPARAM lParam1, LPARAM) {
    Node* page = AddChild(group, NodeKind::Page);
    TakeCallerPage(page, reinterpret_cast<HPROPSHEETPAGE>(lParam1));
    return Added(page);
}

void Report(LPARAM where, LONG value) {
    if (where) {
        *reinterpret_cast<LONG*>(where) = value;
    }
}

LONG_PTR AddOptionItems(Node* group, LPARAM lParam1, LPARAM lParam2) {
    const auto* ui = reinterpret_cast<const COMPROPSHEETUI*>(lParam1);
    const LONG refused = ui ? OptionItemPage::Check(*ui) : ERR_CPSUI_INVALID_PDATA;
    if (refused) {
        Report(lParam2, refused);
        return 0;
    }
    Node* node = AddChild(group, NodeKind::OptionItems);
    node->items = std::make_unique<OptionItemPage>(node, *ui);
    node->page = node->items->CreatePage();
    const LONG_PTR handle = Added(node);
    Report(lParam2, handle ? 1 : ERR_CPSUI_CREATEPROPPAGE_FAILED);
    return handle;
}

LONG_PTR AddFunction(Node* group, LPARAM lParam1, LPARAM lParam2) {
    auto function = reinterpret_cast<PFNPROPSHEETUI>(lParam1);
    if (!function) {
        return 0;
    }
    Node* child = AddChild(group, NodeKind::Function);
    child->function = function;
    child->info = {sizeof(PROPSHEETUI_INFO),
                   PROPSHEETUI_INFO_VERSION,
                   PSUIINFO_UNICODE,
                   0,
                   HandleOf(child),
                   ComPropSheet,
                   lParam2,
                   0,
                   0};
    child->initialised = true;
    if (CallFunction(child, PROPSHEETUI_REASON_INIT, lParam2) < 1) {
        CallFunction(child, PROPSHEETUI_REASON_DESTROY, 0);
        RemoveNode(child);
        return 0;
    }
    return reinterpret_cast<LONG_PTR>(HandleOf(child));
}

bool IsBelow(const Node* node, const Node* group) {
    for (const Node* up = node ? node->parent : nullptr; up; up = up->parent) {
        if (up == group) {
            return true;
        }
    }
    return false;
}

Node* Below(Node* group, LPARAM handle) {
    Node* node = NodeOf(reinterpret_cast<HANDLE>(handle));
    return IsBelow(node, group) ? node : nullptr;
}

LONG_PTR Delete(Node* group, LPARAM lParam1, LPARAM) {
    Node* node = Below(group, lParam1);
    if (!node) {
        return 0;
    }
    DestroyFunctions(node, 0);
    RemoveNode(node);
    return 1;
}

LONG_PTR SetStartPage(Node* group, LPARAM lParam1, LPARAM) {
    Node* node = NodeOf(reinterpret_cast<HANDLE>(lParam1));
    if (!node || (node != group && !IsBelow(node, group))) {
        return 0;
    }
    const std::vector<Node*> pages = PagesUnder(node);
    if (pages.empty()) {
        return 0;
    }
    group->sheet->startPage = pages.front();
    if (group->sheet->window) {
        PropSheet_SetCurSel(group->sheet->window, pages.front()->page, -1);
    }
    return 1;
}

LONG_PTR PageCount(Node* group, LPARAM, LPARAM) {
    return static_cast<LONG_PTR>(PagesUnder(group).size());
}

LONG_PTR Result(Node* group, LPARAM lParam1, LPARAM lParam2) {
    Node* node = lParam1 ? NodeOf(reinterpret_cast<HANDLE>(lParam1)) : group;
    return node ? SetResult(node, lParam2) : -1;
}

LONG_PTR PageHandles(Node* group, LPARAM lParam1, LPARAM lParam2) {
    auto* handles = reinterpret_cast<HANDLE*>(lParam1);
    if (!handles || lParam2 <= 0) {
        return 0;
    }
    LONG_PTR stored = 0;
    for (Node* page : PagesUnder(group)) {
        if (stored == lParam2) {
            break;
        }
        handles[stored++] = HandleOf(page);
    }
    return stored;
}

LONG_PTR LoadString(Node*, LPARAM lParam1, LPARAM lParam2) {
    auto* buffer = reinterpret_cast<WCHAR*>(lParam1);
    const size_t room = LOWORD(lParam2);
    const std::u16string text = CpsuiString(HIWORD(lParam2));
    if (!buffer || room == 0 || text.empty()) {
        return 0;
    }
    const size_t copied = std::min(text.size(), room - 1);
    std::memcpy(buffer, text.data(), copied * sizeof(WCHAR));
    buffer[copied] = 0;
    return static_cast<LONG_PTR>(copied);
}

LONG_PTR SetDataBlock(Node* group, LPARAM lParam1, LPARAM lParam2) {
    const auto* block = reinterpret_cast<const CPSUIDATABLOCK*>(lParam1);
    if (!block || !block->pbData || block->cbData == 0) {
        return 0;
    }
    group->sheet->dataBlocks[static_cast<DWORD>(lParam2)].assign(block->pbData,
                                                                 block->pbData + block->cbData);
    return block->cbData;
}

LONG_PTR QueryDataBlock(Node* group, LPARAM lParam1, LPARAM lParam2) {
    auto* block = reinterpret_cast<CPSUIDATABLOCK*>(lParam1);
    auto found = group->sheet->dataBlocks.find(static_cast<DWORD>(lParam2));
    if (!block || !block->pbData || found == group->sheet->dataBlocks.end()) {
        return 0;
    }
    const size_t copied = std::min<size_t>(block->cbData, found->second.size());
    std::memcpy(block->pbData, found->second.data(), copied);
    return static_cast<LONG_PTR>(copied);
}

LONG_PTR DoApply(Node* group, LPARAM lParam1, LPARAM) {
    Node* node = NodeOf(reinterpret_cast<HANDLE>(lParam1));
    if (!node || (node != group && !IsBelow(node, group))) {
        return 0;
    }
    for (Node* page : PagesUnder(node)) {
        if (page->kind == NodeKind::OptionItems && !page->items->ApplyNow(page->window)) {
            return 0;
        }
    }
    return 1;
}

LONG_PTR SetFusionContext(Node* group, LPARAM lParam1, LPARAM) {
    group->sheet->fusionContext = reinterpret_cast<HANDLE>(lParam1);
    return 1;
}

struct FunctionEntry {
    UINT function;
    Handler handler;
};

constexpr FunctionEntry kFunctions[] = {
    {CPSFUNC_ADD_HPROPSHEETPAGE, AddPageHandle},
    {CPSFUNC_ADD_PROPSHEETPAGEW, AddPage},
    {CPSFUNC_ADD_PCOMPROPSHEETUIW, AddOptionItems},
    {CPSFUNC_ADD_PFNPROPSHEETUIW, AddFunction},
    {CPSFUNC_DELETE_HCOMPROPSHEET, Delete},
    {CPSFUNC_SET_HSTARTPAGE, SetStartPage},
    {CPSFUNC_GET_PAGECOUNT, PageCount},
    {CPSFUNC_SET_RESULT, Result},
    {CPSFUNC_GET_HPSUIPAGES, PageHandles},
    {CPSFUNC_LOAD_CPSUI_STRINGW, LoadString},
    {CPSFUNC_SET_DATABLOCK, SetDataBlock},
    {CPSFUNC_QUERY_DATABLOCK, QueryDataBlock},
    {CPSFUNC_DO_APPLY_CPSUI, DoApply},
    {CPSFUNC_SET_FUSION_CONTEXT, SetFusionContext},
};

} // namespace

LONG_PTR CALLBACK ComPropSheet(HANDLE hComPropSheet, UINT Function, LPARAM lParam1,
                               LPARAM lParam2) {
    Node* group = NodeOf(hComPropSheet);
    const bool isGroup = group && group->kind == NodeKind::Function;
    for (const FunctionEntry& entry : kFunctions) {
        if (entry.function == Function) {
            if (!isGroup) {
                return Function == CPSFUNC_SET_RESULT ? -1 : 0;
            }
            return entry.handler(group, lParam1, lParam2);
        }
    }
    return 0;
}

} // namespace moltr::platform::compstui

// The handle tree of a sheet. Handles are checked against the nodes alive, so a stale or made-up
// handle is refused rather than followed.
#include "src/compstui/sheet_tree.h"

#include "src/compstui/option_item_page.h"

#include <prsht.h>
#include <mutex>
#include <set>

namespace moltr::platform::compstui {
namespace {

struct Live {
    std::mutex lock;
    std::set<const Node*> nodes;
};

Live& TheLive() {
    static Live* live = new Live;
    return *live;
}

void Know(const Node* node) {
    std::lock_guard guard(TheLive().lock);
    TheLive().nodes.insert(node);
}

void Forget(Node* node) {
    for (auto& child : node->children) {
        Forget(child.get());
    }
    std::lock_guard guard(TheLive().lock);
    TheLive().nodes.erase(node);
}

void CollectPages(Node* node, std::vector<Node*>& pages) {
    if (node->page) {
        pages.push_back(node);
    }
    for (auto& child : node->children) {
        CollectPages(child.get(), pages);
    }
}

} // namespace

Node::Node() = default;
Node::~Node() = default;

Node* NodeOf(HANDLE handle) {
    auto* node = static_cast<Node*>(handle);
    std::lock_guard guard(TheLive().lock);
    return TheLive().nodes.count(node) ? node : nullptr;
}

HANDLE HandleOf(Node* node) {
    return node;
}

Node* AddChild(Node* parent, NodeKind kind) {
    auto child = std::make_unique<Node>();
    child->kind = kind;
    child->sheet = parent->sheet;
    child->parent = parent;
    Node* added = child.get();
    parent->children.push_back(std::move(child));
    Know(added);
    return added;
}

// Pages the sheet has taken are the sheet's to destroy; the others are still ours.
void RemoveNode(Node* node) {
    Forget(node);
    for (Node* page : PagesUnder(node)) {
        if (page->sheet->window) {
            PropSheet_RemovePage(page->sheet->window, -1, page->page);
        } else {
            DestroyPropertySheetPage(page->page);
        }
        page->page = nullptr;
    }
    if (node->sheet->startPage && NodeOf(node->sheet->startPage) == nullptr) {
        node->sheet->startPage = nullptr;
    }
    auto& siblings = node->parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it) {
        if (it->get() == node) {
            siblings.erase(it);
            return;
        }
    }
}

void RegisterSheet(Sheet& sheet) {
    sheet.root.kind = NodeKind::Function;
    sheet.root.sheet = &sheet;
    Know(&sheet.root);
}

void ForgetSheet(Sheet& sheet) {
    Forget(&sheet.root);
}

std::vector<Node*> PagesUnder(Node* node) {
    std::vector<Node*> pages;
    CollectPages(node, pages);
    return pages;
}

std::vector<Node*> OptionItemGroups(Sheet& sheet) {
    std::vector<Node*> groups;
    for (Node* page : PagesUnder(&sheet.root)) {
        if (page->kind == NodeKind::OptionItems) {
            groups.push_back(page);
        }
    }
    return groups;
}

LONG CallFunction(Node* node, WORD reason, LPARAM lParam) {
    node->info.Reason = reason;
    return node->function(&node->info, lParam);
}

void DestroyFunctions(Node* node, LPARAM closed) {
    for (auto child = node->children.rbegin(); child != node->children.rend(); ++child) {
        DestroyFunctions(child->get(), closed);
    }
    if (node->kind == NodeKind::Function && node->initialised) {
        node->initialised = false;
        CallFunction(node, PROPSHEETUI_REASON_DESTROY, closed);
    }
}

LONG_PTR SetResult(Node* node, LRESULT result) {
    LONG_PTR called = 0;
    for (Node* at = node; at; at = at->parent) {
        if (at->kind != NodeKind::Function || !at->function || !at->initialised) {
            continue;
        }
        SETRESULT_INFO info{sizeof info, 0, HandleOf(node), result};
        ++called;
        if (CallFunction(at, PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&info)) < 1) {
            break;
        }
    }
    return called;
}

} // namespace moltr::platform::compstui

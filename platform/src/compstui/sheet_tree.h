#pragma once
// The handles compstui gives out while one sheet is built and shown: a tree whose root is the
// sheet's own property-sheet UI function, whose groups are the functions added under it and the
// option-item groups of COMPROPSHEETUI descriptions, and whose leaves are pages. A handle is the
// address of its node, honoured only while the node lives.
#include <compstui.h>

#include <map>
#include <memory>
#include <vector>

namespace moltr::platform::compstui {

class OptionItemPage;
struct Sheet;

enum class NodeKind {
    Function,    // a PFNPROPSHEETUI group (the root is one)
    OptionItems, // the pages of one COMPROPSHEETUI
    Page,        // a caller's page
};

struct Node {
    NodeKind kind = NodeKind::Page;
    Sheet* sheet = nullptr;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;

    // Function groups: what the function is called with, kept between its calls.
    PFNPROPSHEETUI function = nullptr;
    PROPSHEETUI_INFO info{};
    bool initialised = false;

    // Pages (also the option-item group's own page): the page made for the sheet and its window
    // once shown. A caller's page keeps its description with the PSPINFO after it, which is what
    // its procedure gets with WM_INITDIALOG.
    HPROPSHEETPAGE page = nullptr;
    HWND window = nullptr;
    DLGPROC callerProc = nullptr;
    std::vector<BYTE> callerPage;

    // Option-item groups.
    std::unique_ptr<OptionItemPage> items;

    Node();
    ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
};

struct Sheet {
    Node root;
    Node* startPage = nullptr;
    HWND window = nullptr; // while shown
    std::map<DWORD, std::vector<BYTE>> dataBlocks;
    HANDLE fusionContext = nullptr;
};

// The node of a handle of a live sheet; null for anything else.
Node* NodeOf(HANDLE handle);
HANDLE HandleOf(Node* node);
// Adds a new child of `kind` under `parent`, known as a handle from now on.
Node* AddChild(Node* parent, NodeKind kind);
// Forgets `node` and everything under it, destroying the pages not yet given to a sheet.
void RemoveNode(Node* node);
// Makes the root of a new sheet known as a handle; ForgetSheet forgets the whole tree.
void RegisterSheet(Sheet& sheet);
void ForgetSheet(Sheet& sheet);

// The page nodes under `node` (itself included), in the order the sheet shows them.
std::vector<Node*> PagesUnder(Node* node);
// The option-item groups of the sheet, in page order.
std::vector<Node*> OptionItemGroups(Sheet& sheet);

// The pfnComPropSheet compstui hands to every function.
LONG_PTR CALLBACK ComPropSheet(HANDLE hComPropSheet, UINT Function, LPARAM lParam1, LPARAM lParam2);

// Calls `node`'s function for `reason`; its answer.
LONG CallFunction(Node* node, WORD reason, LPARAM lParam);
// Tells the functions of `node` and below PROPSHEETUI_REASON_DESTROY with `closed`, the last
// added first and each inner one before its group.
void DestroyFunctions(Node* node, LPARAM closed);
// Hands `result` to the functions of `node` and of the groups above it, innermost first, until
// one answers below 1; the number called.
LONG_PTR SetResult(Node* node, LRESULT result);

} // namespace moltr::platform::compstui

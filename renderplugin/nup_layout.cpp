#include "renderplugin/nup_layout.h"

#include <algorithm>
#include <iterator>

namespace moltr::render {

namespace {

constexpr DWORD kNupCounts[] = {1, 2, 4, 6, 9, 16, 1, 2, 4, 6, 9, 16};

// after × ((before × S) / divisor), in integer arithmetic as the imposition computes it.
struct Term {
    LONG after;
    LONG before;
    LONG divisor;
};
// One centre coordinate: the sum of two terms (a zero divisor leaves the second out).
struct Position {
    Term first;
    Term second;
};

enum class Fit { Any, Landscape, Portrait };

// The factor: `constant` when set, else min(A / aDivisor, B / bDivisor), A = H / W, B = W / H.
struct Factor {
    double constant;
    double aDivisor;
    double bDivisor;
};

struct Layout {
    DWORD count;
    Fit fit;
    size_t columnCount;
    Position columns[4];
    size_t rowCount;
    Position rows[4];
    LONG cellsAcross;
    LONG cellsDown;
    Factor factor;
};

constexpr Term kNone = {0, 0, 0};
constexpr Position At(LONG after, LONG before, LONG divisor, Term second = kNone) {
    return {{after, before, divisor}, second};
}

// Cells run row by row, top to bottom, left to right within a row.
constexpr Layout kLayouts[] = {
    {1, Fit::Any, 1, {At(1, 1, 2)}, 1, {At(1, 1, 2)}, 1, 1, {1.0, 0, 0}},
    {2, Fit::Landscape, 2, {At(1, 1, 4), At(1, 3, 4)}, 1, {At(1, 1, 2)}, 2, 1, {0, 1, 2}},
    {2, Fit::Portrait, 1, {At(1, 1, 2)}, 2, {At(1, 1, 4), At(1, 3, 4)}, 1, 2, {0, 2, 1}},
    {4,
     Fit::Any,
     2,
     {At(1, 1, 4), At(1, 1, 2, {1, 1, 4})},
     2,
     {At(1, 1, 4), At(1, 1, 4, {1, 1, 2})},
     2,
     2,
     {0.5, 0, 0}},
    {6,
     Fit::Landscape,
     3,
     {At(1, 1, 6), At(3, 1, 6), At(5, 1, 6)},
     2,
     {At(1, 1, 4), At(3, 1, 4)},
     3,
     2,
     {0, 2, 3}},
    {6,
     Fit::Portrait,
     2,
     {At(1, 1, 4), At(3, 1, 4)},
     3,
     {At(1, 1, 6), At(3, 1, 6), At(5, 1, 6)},
     2,
     3,
     {0, 3, 2}},
    {9,
     Fit::Any,
     3,
     {At(1, 1, 6), At(1, 1, 3, {1, 1, 6}), At(1, 2, 3, {1, 1, 6})},
     3,
     {At(1, 1, 6), At(1, 1, 6, {1, 1, 3}), At(1, 1, 6, {1, 2, 3})},
     3,
     3,
     {1.0 / 3.0, 0, 0}},
    {16,
     Fit::Any,
     4,
     {At(1, 1, 8), At(1, 1, 4, {1, 1, 8}), At(1, 2, 4, {1, 1, 8}), At(1, 3, 4, {1, 1, 8})},
     4,
     {At(1, 1, 8), At(1, 1, 8, {1, 1, 4}), At(1, 1, 8, {1, 2, 4}), At(1, 1, 8, {1, 3, 4})},
     4,
     4,
     {0.25, 0, 0}},
};

LONG Evaluate(const Term& term, LONG size) {
    return term.divisor != 0 ? term.after * ((term.before * size) / term.divisor) : 0;
}

LONG Evaluate(const Position& position, LONG size) {
    return Evaluate(position.first, size) + Evaluate(position.second, size);
}

const Layout& FindLayout(DWORD count, bool landscape) {
    Fit wanted = landscape ? Fit::Landscape : Fit::Portrait;
    for (const Layout& layout : kLayouts) {
        if (layout.count == count && (layout.fit == Fit::Any || layout.fit == wanted)) {
            return layout;
        }
    }
    return kLayouts[0];
}

double FactorOf(const Factor& factor, LONG width, LONG height) {
    if (factor.constant != 0) {
        return factor.constant;
    }
    // A page without a size has nothing to fit into.
    if (width <= 0 || height <= 0) {
        return 1.0;
    }
    double a = static_cast<double>(height) / width;
    double b = static_cast<double>(width) / height;
    return std::min(a / factor.aDivisor, b / factor.bDivisor);
}

} // namespace

DWORD NupCount(DWORD index) {
    return index < std::size(kNupCounts) ? kNupCounts[index] : 1;
}

CellTable LayOutCells(DWORD count, bool landscape, ULONG width, ULONG height) {
    const Layout& layout = FindLayout(count, landscape);
    // Page sizes beyond LONG are no page; they lay out as an empty one.
    LONG w = width <= 0x7FFFFFFF / 4 ? static_cast<LONG>(width) : 0;
    LONG h = height <= 0x7FFFFFFF / 4 ? static_cast<LONG>(height) : 0;
    CellTable table;
    size_t cell = 0;
    for (size_t row = 0; row < layout.rowCount; ++row) {
        for (size_t column = 0; column < layout.columnCount; ++column) {
            table.centre[cell++] = {Evaluate(layout.columns[column], w),
                                    Evaluate(layout.rows[row], h)};
        }
    }
    table.width = w / layout.cellsAcross;
    table.height = h / layout.cellsDown;
    table.factor = FactorOf(layout.factor, w, h);
    return table;
}

bool PrintsManualDuplex(const SettingsView& settings) {
    DWORD type = settings.Printer(L"_DUPLEXTYPE");
    return type == 2 || type == 3;
}

void ComputeLayout(RenderState& state, const SettingsView& settings) {
    state.jobFlags |= kJobLayoutComputed;
    const DEVMODEW* devmode = state.publicDevMode;
    state.landscape = devmode != nullptr && devmode->dmOrientation == DMORIENT_LANDSCAPE;
    state.copies = devmode != nullptr && devmode->dmCopies > 0 ? devmode->dmCopies : 1;
    std::fill(&state.edges[0][0], &state.edges[0][0] + kMaxCells * kEdgeCount, false);
    state.nupCount = NupCount(settings.Job(L"_NUP_PAGES"));
    state.nupBorder = state.nupCount > 1 && settings.Job(L"_NUP_BORDER") != 0;
    bool twoSided = devmode != nullptr && devmode->dmDuplex != DMDUP_SIMPLEX;
    if (twoSided && PrintsManualDuplex(settings)) {
        state.jobFlags |= kJobManualDuplex;
    } else {
        state.jobFlags &= ~kJobManualDuplex;
    }
    state.booklet = settings.Job(L"_BOOKLET") != 1;
    if (state.booklet) {
        state.nupCount = 2;
    }
    const GDIINFO* page = state.gdiInfo;
    state.cells = LayOutCells(state.nupCount, state.landscape, page ? page->ulHorzRes : 0,
                              page ? page->ulVertRes : 0);
    state.scale = state.scalePercent != 100 ? state.scalePercent / 100.0 : state.cells.factor;
}

} // namespace moltr::render

#pragma once
// VORTAOptItemHandlerFactory: owns one handler per option item of a sheet, the host's and the
// plug-in's, keyed by item id, and routes compstui callbacks and dialog messages to them.
// CreateOptItemHandlerFactory makes the product's factory (VORTAOptItemHandlerFactoryDrv).
#include <windows.h>
#include <compstui.h>
#include "common/drv_settings.h"
#include "common/resources.h"
#include "prcomoem.h"
#include "uiplugin/engine/opt_item_notify.h"

namespace moltr::ui {

class VORTAOptItemHandler;
class QuickSettingsText;

inline constexpr DWORD kSheetDocument = 1;
inline constexpr DWORD kSheetPrinter = 2;

inline constexpr DWORD kUITypeHostPage = 1;
inline constexpr DWORD kUITypeOwnPages = 2;

// What the factory works with; every pointer is borrowed and outlives the factory.
struct FactoryEnvironment {
    HANDLE heap;                    // the host's OEM heap (OEMCUIPPARAM hOEMHeap)
    common::IDrvSettings* settings; // the settings the product handlers commit into
    common::IDrvResources* resources;
    IPrintOemDriverUI* driverUI;  // told of every change of an item; may be null
    POEMCUIPPARAM param;          // the host's parameter: UI object, devmodes, printer
    DWORD sheetKind;              // kSheetDocument or kSheetPrinter
    DWORD uiType;                 // kUITypeHostPage or kUITypeOwnPages
    DWORD pdl;                    // the UIPPDL value
    DWORD modelClass;             // the printer model's class
    HINSTANCE instance;           // the module whose procedures run the dialogs
    DLGPROC popupDialogProc;      // pop-up dialogs of push buttons (parameter: the record)
    DLGPROC pageDialogProc;       // own pages of a push button's property sheet
    _CPSUICALLBACK groupCallback; // host item groups shown in a push button's sheet
    LPARAM engine;                // the parameter of own pages
    const DWORD* hostHelpIndices; // the host help indices the engine remembered
    DWORD hostHelpIndexCount;
};

class VORTAOptItemHandlerFactory : public VORTAOptItemNotify {
public:
    explicit VORTAOptItemHandlerFactory(const FactoryEnvironment& environment);
    ~VORTAOptItemHandlerFactory() override;

    // 0: the root's Notify; after a rejected change the waiting changes are shown again.
    LONG Notify(DWORD itemId, DWORD value, DWORD flags) override;
    // 2: files a handler for `item` under its item id; S_FALSE when the item has no id, is known
    // already or got no handler. The item stays the caller's. A plug-in item (DMPubID 100 or more)
    // holds in each option's lParam a value up to 0xFFFF, or the address of a 32-bit copy of a
    // wider value.
    virtual HRESULT RegisterItem(POPTITEM item);
    // 3: binds the controls of `window` that show `handler`'s item.
    virtual void BindControls(HWND window, VORTAOptItemHandler* handler);
    // 4: after every item is registered; notifications flow from then on.
    virtual HRESULT FinishRegistration();
    // 5: product initialisation of dependent items.
    virtual void AfterFinish();
    // 6: the initial-state pass before the pages are shown.
    virtual void InitialState();
    // 7: a page or pop-up dialog `window` shows the items from now on.
    virtual void AttachDialog(HWND window);
    // 8: a message of an attached dialog; answers 1 when handled.
    virtual INT_PTR DialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // 9: every handler writes what the host does not store itself (nothing when `isCancel`).
    virtual void Commit(BOOL isCancel);
    // 10: every handler takes back what it changed.
    virtual void Revert();
    // 11: runs `item`'s push (its dialog, or a notification); with `fromValue` the item's Sel is
    // first applied as a value. Answers 1 when the dialog ended with OK.
    virtual LONG Push(POPTITEM item, HWND window, BOOL fromValue);

    // The compstui callback of the engine; answers a CPSUICB_ACTION_ value.
    LONG Callback(PCPSUICBPARAM param);

    // The id of `item` as the family knows it; 0 when it has none.
    DWORD ItemId(const OPTITEM& item);
    // The handler filed under `itemId`, or null.
    VORTAOptItemHandler* Find(DWORD itemId) const;
    // The handler of `itemId`, created as a default handler when none is filed; null without
    // memory.
    VORTAOptItemHandler* FindOrCreate(DWORD itemId);

    // Quick settings: one record per handler appended to `text`, except the handlers of the
    // `skippedCount` ids of `skipped`; false without memory.
    bool SaveStates(QuickSettingsText& text, const DWORD* skipped = nullptr,
                    size_t skippedCount = 0);
    // Applies the records of `text` (`length` characters); false when the text is not a sequence
    // of records. `complete` (may be null) is cleared when a value could not be restored.
    bool LoadStates(LPCWSTR text, size_t length, BOOL* complete);
    // Applies a stored quick setting: the records are loaded with notifications off, then each
    // restored item is notified once with kEventRestored. False as for LoadStates.
    bool RestoreStates(LPCWSTR text, size_t length);

    const FactoryEnvironment& Environment() const { return environment_; }
    HWND Dialog() const { return dialog_; }
    bool ApplyWasEnabled() const { return applyEnabled_; }

    // The undo slot: the selection a handler had before its last change.
    void RememberOldSelection(LONG selection) { undoSelection_ = selection; }
    LONG OldSelection() const { return undoSelection_; }
    // Handlers whose changes wait for a dialog to show them.
    void QueuePending(VORTAOptItemHandler* handler, bool atHead);
    void FlushPending();
    // The result of the last push dialog (1: ended with OK).
    LONG PendingResult() const { return pendingResult_; }
    void SetPendingResult(LONG result) { pendingResult_ = result; }

protected:
    bool IsActive() const override { return active_; }
    // Files `handler` under `itemId`; false (and the handler deleted) without memory.
    bool File(DWORD itemId, VORTAOptItemHandler* handler);
    // The generic handler of `item`'s control type.
    VORTAOptItemHandler* CreateGeneric(POPTITEM item, DWORD itemId);
    // Calls `visit` for every filed handler in filing order.
    template <typename Visit> void ForEach(Visit visit) const {
        for (DWORD i = 0; i < count_; ++i) {
            visit(entries_[i].handler);
        }
    }

private:
    struct Entry {
        DWORD itemId;
        VORTAOptItemHandler* handler;
    };
    DWORD FeatureInstance(ULONG_PTR userData);
    // Whether `item` is one of the plug-in's own items rather than the host's.
    bool IsOwnItem(const OPTITEM* item) const;
    void PublishItems(bool publish);
    // Shows every item in its control of `window`.
    void ShowItems(HWND window);
    // A user's change in `control` (a WM_COMMAND `code`, 0 for a scroll); false when it changed
    // no item.
    bool TakeControlChange(HWND control, UINT code);

    FactoryEnvironment environment_;
    Entry* entries_ = nullptr;
    DWORD count_ = 0;
    DWORD capacity_ = 0;
    ULONG_PTR* instances_ = nullptr; // UserData values of per-feature host items, by first sight
    DWORD instanceCount_ = 0;
    DWORD instanceCapacity_ = 0;
    VORTAOptItemHandler* pending_ = nullptr;
    HWND dialog_ = nullptr;
    bool active_ = false;
    bool showing_ = false; // the controls are being set, not changed by the user
    bool applyEnabled_ = false;
    LONG undoSelection_ = 0;
    LONG pendingResult_ = 0;
};

// Creates the product's factory on `environment.heap`; E_INVALIDARG without heap, settings or
// resources, E_OUTOFMEMORY. Destroy it with delete.
HRESULT CreateOptItemHandlerFactory(const FactoryEnvironment& environment,
                                    VORTAOptItemHandlerFactory** factory);

} // namespace moltr::ui

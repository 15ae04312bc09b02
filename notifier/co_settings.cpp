#include "notifier/co_settings.h"

#include <cstring>
#include <new>
#include "store/xpr.h"

namespace moltr::notifier {

namespace {

// One open root structure with its first record selected.
class SettingsRecord {
public:
    SettingsRecord() = default;
    SettingsRecord(const SettingsRecord&) = delete;
    SettingsRecord& operator=(const SettingsRecord&) = delete;
    ~SettingsRecord() { store::Close(&record_); }

    // Opens `name` for `printer` and stamps the record's size and signature the way the other
    // deliverables keep them.
    bool Open(HANDLE printer, LPCWSTR name) {
        if (store::OpenByHandle(printer, name, &record_) >= store::kClassError ||
            store::GetStructure(record_, name, &handle_, nullptr) >= store::kClassError) {
            return false;
        }
        DWORD size = store::GetDataSize(handle_);
        static constexpr char kSignature[4] = {'M', 'O', 'L', 'T'};
        store::SetField(handle_, L"_SIZE", &size, sizeof size);
        store::SetField(handle_, L"_SIGNATURE", kSignature, sizeof kSignature);
        return true;
    }

    // The 32-bit field `name` read in place; 0 when the record has no data, no such field or a
    // field too small to hold it.
    DWORD Number(LPCWSTR name) const {
        void* data = nullptr;
        if (store::GetDataSize(handle_) == 0 ||
            store::GetFieldPointer(handle_, name, &data) >= store::kClassError || data == nullptr ||
            store::GetFieldSize(handle_, name) < sizeof(DWORD)) {
            return 0;
        }
        DWORD value;
        std::memcpy(&value, data, sizeof value);
        return value;
    }

private:
    store::StructureRecord* record_ = nullptr;
    store::StructureHandle handle_ = nullptr;
};

class CoSettings final : public ISettings {
public:
    bool Open(HANDLE printer) {
        return devMode_.Open(printer, L"OEMDEVMODE") &&
               printerSettings_.Open(printer, L"PRINTERSETTINGS");
    }

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (!IsEqualIID(iid, IID_IUnknown)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ULONG(InterlockedIncrement(&references_)); }
    STDMETHOD_(ULONG, Release)() override {
        LONG count = InterlockedDecrement(&references_);
        if (count == 0) {
            delete this;
        }
        return ULONG(count);
    }
    STDMETHOD(GetPDLType)(DWORD* pdlType) override {
        if (pdlType == nullptr) {
            return E_POINTER;
        }
        *pdlType = printerSettings_.Number(L"_PDLTYPE");
        return S_OK;
    }

private:
    SettingsRecord devMode_;
    SettingsRecord printerSettings_;
    LONG volatile references_ = 1;
};

} // namespace

HRESULT CreateSettings(HANDLE printer, ISettings** settings) {
    if (settings == nullptr) {
        return E_POINTER;
    }
    *settings = nullptr;
    if (printer == nullptr || printer == INVALID_HANDLE_VALUE) {
        return E_FAIL;
    }
    CoSettings* object = new (std::nothrow) CoSettings;
    if (object == nullptr) {
        return E_OUTOFMEMORY;
    }
    if (!object->Open(printer)) {
        object->Release();
        return E_FAIL;
    }
    *settings = object;
    return S_OK;
}

} // namespace moltr::notifier

#include "common/co_drv_settings.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include "common/conditional_lines.h"
#include "common/data_file.h"
#include "common/devmode_repair.h"
#include "common/rti_block.h"
#include "common/setting_symbols.h"
#include "store/image_layout.h"

namespace moltr::common {
namespace {

constexpr LPCWSTR kRootNames[2] = {L"OEMDEVMODE", L"PRINTERSETTINGS"};
// The structures' TAG: a STRING field in front of the settings data.
constexpr DWORD kTagSize = store::ElementSizeOf(store::kTypeString);

// The start of a handle's current record data (behind TAG), through its first field after TAG.
BYTE* RecordData(store::StructureHandle handle) {
    void* size = nullptr;
    if (store::GetFieldPointer(handle, L"_SIZE", &size) != store::kClassSuccess ||
        size == nullptr || store::GetFieldOffset(handle, L"_SIZE") < kTagSize) {
        return nullptr;
    }
    return static_cast<BYTE*>(size) - (store::GetFieldOffset(handle, L"_SIZE") - kTagSize);
}

bool EndsWithIgnoringCase(LPCWSTR text, LPCWSTR suffix) {
    int length = lstrlenW(text);
    int suffixLength = lstrlenW(suffix);
    return length >= suffixLength && lstrcmpiW(text + length - suffixLength, suffix) == 0;
}

} // namespace

HRESULT CreateDrvSettings(DWORD mode, HANDLE printer, IDrvSettings** settings) {
    if (settings == nullptr) {
        return E_INVALIDARG;
    }
    *settings = nullptr;
    if ((mode != kModeDocument && mode != kModePrinter) || printer == INVALID_HANDLE_VALUE) {
        return E_INVALIDARG;
    }
    CoDrvSettings* object = new (std::nothrow) CoDrvSettings;
    if (object == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT result = object->Initialize(mode, printer);
    if (FAILED(result)) {
        object->Release();
        return result;
    }
    *settings = object;
    return S_OK;
}

HRESULT CoDrvSettings::Initialize(DWORD mode, HANDLE printer) {
    for (int layout = 0; layout < 2; ++layout) {
        if (store::OpenByHandle(printer, kRootNames[layout], &records_[layout]) >=
                store::kClassError ||
            store::GetStructure(records_[layout], kRootNames[layout], &handles_[layout], nullptr) !=
                store::kClassSuccess) {
            return E_FAIL;
        }
        BYTE* data = RecordData(handles_[layout]);
        DWORD size = store::GetDataSize(handles_[layout]);
        if (data == nullptr || !WriteNumber(data, L"_SIZE", layout, size) ||
            !WriteNumber(data, L"_SIGNATURE", layout, store::kSignature)) {
            return E_FAIL;
        }
    }
    mode_ = mode;
    return mode == kModePrinter ? ReadDriver(printer) : S_OK;
}

HRESULT CoDrvSettings::ReadDriver(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    if (needed < sizeof(DRIVER_INFO_3W)) {
        return E_FAIL;
    }
    driverInfo_.reset(new (std::nothrow) BYTE[needed]);
    if (!driverInfo_) {
        return E_OUTOFMEMORY;
    }
    if (!GetPrinterDriverW(printer, nullptr, 3, driverInfo_.get(), needed, &needed)) {
        return E_FAIL;
    }
    auto* info = reinterpret_cast<DRIVER_INFO_3W*>(driverInfo_.get());
    if (info->pDataFile == nullptr) {
        return E_FAIL;
    }
    return ReadDataFile(info->pDataFile, &text_, &textLength_);
}

CoDrvSettings::~CoDrvSettings() {
    for (store::StructureRecord*& record : records_) {
        if (record != nullptr) {
            store::Close(&record);
        }
    }
}

STDMETHODIMP CoDrvSettings::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CoDrvSettings::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CoDrvSettings::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

bool CoDrvSettings::Locate(void* data, LPCWSTR fieldName, DWORD selector, FieldSpan* span) {
    DWORD layout = selector == kLayoutOwnMode ? mode_ : selector;
    if (layout > kLayoutPrinterSettings || fieldName == nullptr || fieldName[0] == L'\0') {
        return false;
    }
    store::StructureHandle handle = handles_[layout];
    DWORD limit = store::GetDataSize(handle);
    if (data == nullptr) {
        if (selector != kLayoutPrinterSettings && mode_ != kModePrinter) {
            return false;
        }
        data = RecordData(handles_[kLayoutPrinterSettings]);
        limit = std::min(limit, store::GetDataSize(handles_[kLayoutPrinterSettings]));
    }
    if (data == nullptr || store::SelectField(handle, fieldName) != store::kClassSuccess) {
        return false;
    }
    DWORD offset = store::GetFieldOffset(handle, nullptr);
    if (offset < kTagSize || offset - kTagSize >= limit) {
        return false;
    }
    offset -= kTagSize;
    span->at = static_cast<BYTE*>(data) + offset;
    span->room = limit - offset;
    span->size = std::min<DWORD>(store::GetFieldSize(handle, nullptr), span->room);
    span->type = store::GetFieldType(handle, nullptr);
    return true;
}

bool CoDrvSettings::ReadNumber(void* data, LPCWSTR fieldName, DWORD selector, DWORD* value) {
    FieldSpan span;
    if (!Locate(data, fieldName, selector, &span)) {
        return false;
    }
    *value = 0;
    std::memcpy(value, span.at, std::min<DWORD>(span.size, sizeof(DWORD)));
    return true;
}

bool CoDrvSettings::WriteNumber(void* data, LPCWSTR fieldName, DWORD selector, DWORD value) {
    FieldSpan span;
    if (!Locate(data, fieldName, selector, &span)) {
        return false;
    }
    std::memcpy(span.at, &value, std::min<DWORD>(span.size, sizeof(DWORD)));
    return true;
}

STDMETHODIMP CoDrvSettings::GetValue(void* data, LPCWSTR fieldName, void* destination, DWORD size,
                                     DWORD selector) {
    if (fieldName == nullptr || destination == nullptr || size == 0 ||
        (data == nullptr && selector != kLayoutPrinterSettings && mode_ != kModePrinter)) {
        return E_INVALIDARG;
    }
    FieldSpan span;
    if (!Locate(data, fieldName, selector, &span)) {
        return E_FAIL;
    }
    // What lies beyond the block is not read: the rest of the destination is cleared.
    DWORD room = std::min(size, span.room);
    std::memcpy(destination, span.at, room);
    std::memset(static_cast<BYTE*>(destination) + room, 0, size - room);
    return S_OK;
}

STDMETHODIMP_(void*) CoDrvSettings::GetValuePointer(void* data, LPCWSTR fieldName, DWORD selector) {
    FieldSpan span;
    if (!Locate(data, fieldName, selector, &span)) {
        std::memset(scratch_, 0, sizeof scratch_);
        return scratch_;
    }
    return span.at;
}

STDMETHODIMP CoDrvSettings::SetValue(void* data, LPCWSTR fieldName, const void* source,
                                     DWORD selector) {
    if (fieldName == nullptr || source == nullptr ||
        (data == nullptr && selector != kLayoutPrinterSettings && mode_ != kModePrinter)) {
        return E_INVALIDARG;
    }
    FieldSpan span;
    if (!Locate(data, fieldName, selector, &span)) {
        return E_FAIL;
    }
    // A text of the own record goes through the store, so that the next save copies it into the
    // image.
    const DWORD layout = selector == kLayoutOwnMode ? mode_ : selector;
    if (data == nullptr && layout == kLayoutPrinterSettings && span.type == store::kTypeString) {
        return store::SetField(handles_[kLayoutPrinterSettings], fieldName, source, span.size) ==
                       store::kClassSuccess
                   ? S_OK
                   : E_FAIL;
    }
    std::memmove(span.at, source, span.size);
    return S_OK;
}

STDMETHODIMP CoDrvSettings::GetDevModeSize(DWORD* size) {
    if (size == nullptr) {
        return E_INVALIDARG;
    }
    *size = store::GetDataSize(handles_[kLayoutDevMode]);
    return *size == 0 ? E_NOTIMPL : S_OK;
}

STDMETHODIMP CoDrvSettings::GetDefaultDevMode(DWORD* size, void* destination) {
    if (size == nullptr) {
        return E_INVALIDARG;
    }
    BYTE* defaults = RecordData(handles_[kLayoutDevMode]);
    if (defaults == nullptr) {
        *size = 0;
        return E_FAIL;
    }
    DWORD privateSize = store::GetDataSize(handles_[kLayoutDevMode]);
    if (*size < privateSize) {
        return E_OUTOFMEMORY;
    }
    if (destination == nullptr) {
        return E_INVALIDARG;
    }
    std::memcpy(destination, defaults, privateSize);
    *size = privateSize;
    return S_OK;
}

STDMETHODIMP CoDrvSettings::ConvertDevMode(DWORD size, void* destination, const void* source) {
    // The header that every plug-in devmode starts with: size, signature, version. Devmodes too
    // short for the size and the signature cannot be compared.
    DWORD header[2];
    if (destination == nullptr || source == nullptr || size < sizeof header) {
        return E_INVALIDARG;
    }
    std::memcpy(header, source, sizeof header);
    DWORD signature = 0;
    std::memcpy(&signature, static_cast<const BYTE*>(destination) + sizeof(DWORD),
                sizeof signature);
    if (signature == header[1]) {
        std::memmove(destination, source, std::min(size, header[0]));
    }
    return S_OK;
}

// The input public devmode plays no part: the repair acts on the output one.
STDMETHODIMP CoDrvSettings::MergeDevMode(DWORD size, PDEVMODEW publicOut, const DEVMODEW*,
                                         void* privateOut, void* privateIn) {
    if (privateIn == nullptr || privateOut == nullptr) {
        return E_FAIL;
    }
    DWORD inputSize = 0;
    if (size < sizeof inputSize) {
        return E_INVALIDARG;
    }
    std::memcpy(&inputSize, privateIn, sizeof inputSize);
    const DWORD merged = std::min(size, inputSize);
    // The repair works on a copy of a whole private devmode: the caller's input stays as it was,
    // and no repaired field lands beyond the given size of the output.
    const DWORD room = std::max(merged, store::GetDataSize(handles_[kLayoutDevMode]));
    std::unique_ptr<BYTE[]> repaired(new (std::nothrow) BYTE[room]());
    if (!repaired) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(repaired.get(), privateIn, merged);
    if (!RepairDevMode(*this, publicOut, repaired.get())) {
        return E_FAIL;
    }
    std::memcpy(privateOut, repaired.get(), merged);
    return S_OK;
}

void CoDrvSettings::SavePrinterSettings(HANDLE printer) {
    store::SaveByHandle(&records_[kLayoutPrinterSettings], printer, FALSE);
    // A save that copies changed texts into the image moves the image: the handle into the old
    // one is taken anew.
    handles_[kLayoutPrinterSettings] = nullptr;
    store::GetStructure(records_[kLayoutPrinterSettings], kRootNames[kLayoutPrinterSettings],
                        &handles_[kLayoutPrinterSettings], nullptr);
}

HRESULT CoDrvSettings::UpdateDataFile() {
    auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(driverInfo_.get());
    if (info == nullptr || !text_) {
        return E_FAIL;
    }
    bool gpd = EndsWithIgnoringCase(info->pDataFile, L".GPD");
    if (!gpd && !EndsWithIgnoringCase(info->pDataFile, L".PPD")) {
        return S_OK;
    }
    try {
        std::string_view current(text_.get(), textLength_);
        std::vector<std::string> symbols = SettingSymbols(handles_[kLayoutPrinterSettings]);
        std::string text;
        if (gpd) {
            if (!RewriteRtiBlock(current, symbols, &text)) {
                return E_FAIL;
            }
        } else {
            text = SwitchConditionalLines(current, symbols);
        }
        HRESULT result =
            ReplaceDataFile(info->pDataFile, text.data(), static_cast<DWORD>(text.size()));
        if (SUCCEEDED(result)) {
            // Later changes start from what the file now holds.
            std::unique_ptr<char[]> copy(new (std::nothrow) char[text.size() + 1]);
            if (copy) {
                std::memcpy(copy.get(), text.c_str(), text.size() + 1);
                text_ = std::move(copy);
                textLength_ = static_cast<DWORD>(text.size());
            }
        }
        return result;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace moltr::common

#include "uiplugin/custom_media_forms.h"

#include "uiplugin/custom_media_file.h"

#include <memory>
#include <new>

namespace moltr::uiplugin {
namespace {

constexpr WCHAR kMarkKey[] = L"CUSTOMMEDIA";
// A form read by name fits this buffer or is not read.
constexpr DWORD kFormBufferSize = 296;
constexpr int kPaperNameLength = 64;

// A handle on a printer opened for administration, which the forms calls that write need.
class AdminPrinter {
public:
    explicit AdminPrinter(LPCWSTR name) {
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (name == nullptr || !OpenPrinterW(const_cast<LPWSTR>(name), &handle_, &defaults)) {
            handle_ = nullptr;
        }
    }
    ~AdminPrinter() {
        if (handle_ != nullptr) {
            ClosePrinter(handle_);
        }
    }
    AdminPrinter(const AdminPrinter&) = delete;
    AdminPrinter& operator=(const AdminPrinter&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

bool IsBlank(LPCWSTR text) {
    return text == nullptr || text[0] == L'\0';
}

bool SetMark(HANDLE printer, LPCWSTR name) {
    DWORD one = 1;
    return SetPrinterDataExW(printer, kMarkKey, name, REG_DWORD, reinterpret_cast<LPBYTE>(&one),
                             sizeof(one)) == ERROR_SUCCESS;
}

RECTL AreaOf(DWORD width, DWORD length) {
    return {1, 1, static_cast<LONG>(width) - 1, static_cast<LONG>(length) - 1};
}

// The spooler's answer to a query of `call` (a size query, then the read), or null; `count`
// (may be null) takes the number of entries an enumeration returned.
template <typename Call> std::unique_ptr<BYTE[]> QueryBlock(Call call, DWORD* count = nullptr) {
    DWORD needed = 0;
    DWORD returned = 0;
    call(nullptr, 0, &needed, &returned);
    if (needed == 0) {
        return nullptr;
    }
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[needed]);
    if (!block || !call(block.get(), needed, &needed, &returned)) {
        return nullptr;
    }
    if (count != nullptr) {
        *count = returned;
    }
    return block;
}

std::unique_ptr<BYTE[]> ReadWholeForm(HANDLE printer, LPCWSTR name) {
    return QueryBlock([&](LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD) {
        return GetFormW(printer, const_cast<LPWSTR>(name), 1, buffer, size, needed);
    });
}

// The papers the printer's device capabilities name, with their DMPAPER values.
class DevicePapers {
public:
    explicit DevicePapers(HANDLE printer) {
        auto info = QueryBlock([&](LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD) {
            return GetPrinterW(printer, 5, buffer, size, needed);
        });
        if (!info) {
            return;
        }
        const auto* printer5 = reinterpret_cast<const PRINTER_INFO_5W*>(info.get());
        const int count = DeviceCapabilitiesW(printer5->pPrinterName, printer5->pPortName,
                                              DC_PAPERNAMES, nullptr, nullptr);
        if (count <= 0 || DeviceCapabilitiesW(printer5->pPrinterName, printer5->pPortName,
                                              DC_PAPERS, nullptr, nullptr) != count) {
            return;
        }
        names_.reset(new (std::nothrow) WCHAR[static_cast<size_t>(count) * kPaperNameLength]);
        values_.reset(new (std::nothrow) WORD[static_cast<size_t>(count)]);
        if (!names_ || !values_ ||
            DeviceCapabilitiesW(printer5->pPrinterName, printer5->pPortName, DC_PAPERNAMES,
                                names_.get(), nullptr) != count ||
            DeviceCapabilitiesW(printer5->pPrinterName, printer5->pPortName, DC_PAPERS,
                                reinterpret_cast<LPWSTR>(values_.get()), nullptr) != count) {
            return;
        }
        count_ = count;
    }

    // The value of the first paper named exactly `name`; 0 when there is none.
    DWORD IndexOf(LPCWSTR name) const {
        for (int i = 0; i < count_; ++i) {
            if (SameName(&names_[static_cast<size_t>(i) * kPaperNameLength], name)) {
                return values_[i];
            }
        }
        return 0;
    }

private:
    // A paper name fills its 64 characters without a terminator when it is that long.
    static bool SameName(LPCWSTR paper, LPCWSTR name) {
        for (int i = 0; i < kPaperNameLength; ++i) {
            if (paper[i] != name[i]) {
                return false;
            }
            if (paper[i] == L'\0') {
                return true;
            }
        }
        return name[kPaperNameLength] == L'\0';
    }

    std::unique_ptr<WCHAR[]> names_;
    std::unique_ptr<WORD[]> values_;
    int count_ = 0;
};

bool WithinLimits(const SIZEL& size, const ui::PaperLimits& limits) {
    const auto width = static_cast<DWORD>(size.cx);
    const auto length = static_cast<DWORD>(size.cy);
    return size.cx > 0 && size.cy > 0 && width >= limits.widthMin && width <= limits.widthMax &&
           length >= limits.lengthMin && length <= limits.lengthMax;
}

// Every marked user form of `printer`; `papers` (may be null) gives their paper indices.
std::vector<CustomSizeEntry> MarkedForms(HANDLE printer, const ui::PaperLimits* limits,
                                         const DevicePapers* papers) {
    std::vector<CustomSizeEntry> entries;
    DWORD count = 0;
    auto forms = QueryBlock(
        [&](LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned) {
            return EnumFormsW(printer, 1, buffer, size, needed, returned);
        },
        &count);
    if (!forms) {
        return entries;
    }
    const auto* form = reinterpret_cast<const FORM_INFO_1W*>(forms.get());
    DWORD listed = 0;
    for (DWORD i = 0; i < count; ++i, ++form) {
        if (form->Flags != FORM_USER || IsBlank(form->pName) ||
            !HasCustomMediumMark(printer, form->pName)) {
            continue;
        }
        CustomSizeEntry entry = {};
        lstrcpynW(entry.name, form->pName, kCustomMediumNameMax);
        entry.size = form->Size;
        entry.listed =
            limits != nullptr && listed < kCustomSizeListMedia && WithinLimits(form->Size, *limits);
        listed += entry.listed ? 1 : 0;
        entry.paperIndex = papers != nullptr ? papers->IndexOf(form->pName) : 0;
        entries.push_back(entry);
    }
    return entries;
}

// Characters of an identifier that a description file's keywords and symbols take as they are.
bool IsSafeInIdentifier(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

} // namespace

bool HasCustomMediumMark(HANDLE printer, LPCWSTR formName) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD needed = 0;
    return GetPrinterDataExW(printer, kMarkKey, formName, &type, reinterpret_cast<LPBYTE>(&value),
                             sizeof(value), &needed) == ERROR_SUCCESS &&
           type == REG_DWORD && needed == sizeof(value) && value == 1;
}

const char* CustomMediumNameProblem(HANDLE printer, LPCWSTR name, LPCWSTR renamedFrom) {
    const std::string identifier = IsBlank(name) ? std::string() : CustomMediumIdentifier(name);
    if (identifier.empty()) {
        return "the name is empty";
    }
    for (char c : identifier) {
        if (!IsSafeInIdentifier(c)) {
            return "the name holds a character a description file cannot take";
        }
    }
    for (const CustomSizeEntry& entry : MarkedForms(printer, nullptr, nullptr)) {
        if ((renamedFrom == nullptr || lstrcmpiW(entry.name, renamedFrom) != 0) &&
            CustomMediumIdentifier(entry.name) == identifier) {
            return "another custom size has the same identifier";
        }
    }
    return nullptr;
}

BOOL AddCustomMedium(LPCWSTR printerName, LPCWSTR name, DWORD width, DWORD length) {
    const AdminPrinter printer(printerName);
    if (printer.get() == nullptr || width == 0 || length == 0 ||
        CustomMediumNameProblem(printer.get(), name, nullptr) != nullptr) {
        return FALSE;
    }
    FORM_INFO_1W form = {FORM_USER,
                         const_cast<LPWSTR>(name),
                         {static_cast<LONG>(width), static_cast<LONG>(length)},
                         AreaOf(width, length)};
    if (!AddFormW(printer.get(), 1, reinterpret_cast<LPBYTE>(&form))) {
        return FALSE;
    }
    if (!SetMark(printer.get(), name)) {
        DeleteFormW(printer.get(), const_cast<LPWSTR>(name));
        return FALSE;
    }
    return TRUE;
}

BOOL ResizeCustomMedium(LPCWSTR printerName, LPCWSTR name, DWORD width, DWORD length) {
    const AdminPrinter printer(printerName);
    if (printer.get() == nullptr || IsBlank(name) || width == 0 || length == 0) {
        return FALSE;
    }
    std::unique_ptr<BYTE[]> block = ReadWholeForm(printer.get(), name);
    if (!block) {
        return FALSE;
    }
    auto* form = reinterpret_cast<FORM_INFO_1W*>(block.get());
    form->Size = {static_cast<LONG>(width), static_cast<LONG>(length)};
    form->ImageableArea = AreaOf(width, length);
    return SetFormW(printer.get(), const_cast<LPWSTR>(name), 1, block.get());
}

BOOL RenameCustomMedium(LPCWSTR printerName, LPCWSTR oldName, LPCWSTR newName) {
    const AdminPrinter printer(printerName);
    if (printer.get() == nullptr || IsBlank(oldName) ||
        CustomMediumNameProblem(printer.get(), newName, oldName) != nullptr) {
        return FALSE;
    }
    std::unique_ptr<BYTE[]> block = ReadWholeForm(printer.get(), oldName);
    if (!block) {
        return FALSE;
    }
    auto* form = reinterpret_cast<FORM_INFO_1W*>(block.get());
    form->pName = const_cast<LPWSTR>(newName);
    if (!AddFormW(printer.get(), 1, block.get())) {
        return FALSE;
    }
    SetMark(printer.get(), newName);
    DeletePrinterDataExW(printer.get(), kMarkKey, oldName);
    return DeleteFormW(printer.get(), const_cast<LPWSTR>(oldName));
}

BOOL DeleteCustomMedium(LPCWSTR printerName, LPCWSTR name) {
    const AdminPrinter printer(printerName);
    if (printer.get() == nullptr || IsBlank(name)) {
        return FALSE;
    }
    DeletePrinterDataExW(printer.get(), kMarkKey, name);
    return DeleteFormW(printer.get(), const_cast<LPWSTR>(name));
}

BOOL ReadForm(HANDLE printer, LPCWSTR name, FormFacts* facts) {
    alignas(FORM_INFO_1W) BYTE buffer[kFormBufferSize];
    DWORD needed = 0;
    if (facts == nullptr ||
        !GetFormW(printer, const_cast<LPWSTR>(name), 1, buffer, sizeof(buffer), &needed)) {
        return FALSE;
    }
    const auto* form = reinterpret_cast<const FORM_INFO_1W*>(buffer);
    facts->size = form->Size;
    facts->flags = form->Flags;
    facts->areaOffset = form->ImageableArea.left != 0 || form->ImageableArea.top != 0;
    return TRUE;
}

DWORD PaperIndexOfForm(HANDLE printer, LPCWSTR formName) {
    return IsBlank(formName) ? 0 : DevicePapers(printer).IndexOf(formName);
}

ui::PaperLimits PaperLimitsOfPrinter(HANDLE printer, common::IDrvSettings* settings) {
    auto info = QueryBlock([&](LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD) {
        return GetPrinterW(printer, 2, buffer, size, needed);
    });
    const LPCWSTR driver =
        info ? reinterpret_cast<const PRINTER_INFO_2W*>(info.get())->pDriverName : nullptr;
    return ui::LookUpPaperLimits(driver, settings);
}

std::vector<CustomSizeEntry> EnumerateCustomMedia(HANDLE printer, const ui::PaperLimits& limits) {
    const DevicePapers papers(printer);
    return MarkedForms(printer, &limits, &papers);
}

HRESULT WriteCustomMediaOfPrinter(HANDLE printer, const ui::PaperLimits& limits) {
    auto driver = QueryBlock([&](LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD) {
        return GetPrinterDriverW(printer, nullptr, 3, buffer, size, needed);
    });
    const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(driver.get());
    if (info == nullptr || info->pDataFile == nullptr) {
        return E_FAIL;
    }
    std::vector<CustomMedium> media;
    for (const CustomSizeEntry& entry : MarkedForms(printer, &limits, nullptr)) {
        if (entry.listed) {
            media.push_back(MakeCustomMedium(entry.name, static_cast<DWORD>(entry.size.cx),
                                             static_cast<DWORD>(entry.size.cy)));
        }
    }
    return WriteCustomMediaFile(info->pDataFile, media);
}

} // namespace moltr::uiplugin

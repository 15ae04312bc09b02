#pragma once
// CoDrvSettings: the IDrvSettings object. It keeps the first records of OEMDEVMODE and
// PRINTERSETTINGS open for the object's life; in printer mode also the printer's driver
// information and a copy of its data file, from which the RTI block or the PPD's conditional lines
// are rewritten after a change.
#include <windows.h>
#include <winspool.h>
#include <memory>
#include "common/drv_settings.h"
#include "store/xpr.h"

namespace moltr::common {

// Where a field's value lies in a block: its address and size, both inside the block.
struct FieldSpan {
    BYTE* at;
    DWORD size;
    DWORD room; // bytes from the field to the end of the block
    DWORD type;
};

class CoDrvSettings final : public IDrvSettings {
public:
    CoDrvSettings() = default;
    CoDrvSettings(const CoDrvSettings&) = delete;
    CoDrvSettings& operator=(const CoDrvSettings&) = delete;

    HRESULT Initialize(DWORD mode, HANDLE printer);

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(ItemsFromSettings)(POPTITEM items, DWORD count, void* privateDevMode) override;
    STDMETHOD(SettingsFromItems)
    (POPTITEM items, DWORD count, void* privateDevMode, HANDLE printer) override;
    STDMETHOD(GetValue)
    (void* data, LPCWSTR fieldName, void* destination, DWORD size, DWORD selector) override;
    STDMETHOD_(void*, GetValuePointer)(void* data, LPCWSTR fieldName, DWORD selector) override;
    STDMETHOD(SetValue)(void* data, LPCWSTR fieldName, const void* source, DWORD selector) override;
    STDMETHOD(GetDevModeSize)(DWORD* size) override;
    STDMETHOD(GetDefaultDevMode)(DWORD* size, void* destination) override;
    STDMETHOD(ConvertDevMode)(DWORD size, void* destination, const void* source) override;
    STDMETHOD(MergeDevMode)
    (DWORD size, PDEVMODEW publicOut, const DEVMODEW* publicIn, void* privateOut,
     void* privateIn) override;

    // The field `fieldName` of the layout `selector` in `data` (null: the own printer settings),
    // cut to the layout's data size. False when the field, the layout or the data is missing.
    bool Locate(void* data, LPCWSTR fieldName, DWORD selector, FieldSpan* span);
    // The field read as an unsigned number of at most 4 bytes (little-endian); false when missing.
    bool ReadNumber(void* data, LPCWSTR fieldName, DWORD selector, DWORD* value);
    // Writes the low bytes of `value` over the field's first at most 4 bytes.
    bool WriteNumber(void* data, LPCWSTR fieldName, DWORD selector, DWORD value);

private:
    ~CoDrvSettings() override;

    HRESULT ReadDriver(HANDLE printer);
    // Saves PRINTERSETTINGS into the printer data, keeping the record open.
    void SavePrinterSettings(HANDLE printer);
    HRESULT UpdateDataFile();

    LONG references_ = 1;
    DWORD mode_ = kModeNone;
    std::unique_ptr<BYTE[]> driverInfo_; // DRIVER_INFO_3W with its strings
    std::unique_ptr<char[]> text_;       // the data file, NUL-terminated
    DWORD textLength_ = 0;
    store::StructureRecord* records_[2] = {};
    store::StructureHandle handles_[2] = {};
    // Handed out by GetValuePointer when there is no field to point at; larger than any setting.
    alignas(8) BYTE scratch_[4096] = {};
};

} // namespace moltr::common

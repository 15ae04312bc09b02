// VARIANTs: clearing releases what they own, copying duplicates it, unknown types are refused.
#include <windows.h>
#include <oleauto.h>

#include "sim/utf.h"

#include <gtest/gtest.h>
#include "windows_run.h"

namespace {

// Counts its references, and nothing else.
class Counted : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
};

} // namespace

TEST(VariantTest, InitMakesItEmpty) {
    VARIANT value;
    value.vt = VT_I4;
    VariantInit(&value);
    EXPECT_EQ(value.vt, VT_EMPTY);
    static_assert(sizeof(VARIANT) == 24 && offsetof(VARIANT, bstrVal) == 8);
}

TEST(VariantTest, ClearingReleasesInterfacesAndEmpties) {
    Counted object;
    VARIANT value;
    value.vt = VT_UNKNOWN;
    value.punkVal = &object;
    EXPECT_EQ(VariantClear(&value), S_OK);
    EXPECT_EQ(object.refs, 0u);
    EXPECT_EQ(value.vt, VT_EMPTY);

    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(L"freed");
    EXPECT_EQ(VariantClear(&value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY);
}

TEST(VariantTest, ReferencesAreNotOwned) {
    Counted object;
    IUnknown* pointer = &object;
    VARIANT value;
    value.vt = VT_UNKNOWN | VT_BYREF;
    value.byref = &pointer;
    EXPECT_EQ(VariantClear(&value), S_OK);
    EXPECT_EQ(object.refs, 1u);
}

TEST(VariantTest, CopiesDuplicateStringsAndCountInterfaces) {
    VARIANT source;
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(L"copied");
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    EXPECT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, source.bstrVal);
    EXPECT_EQ(moltr::sim::Utf8(copy.bstrVal), "copied");
    EXPECT_EQ(SysStringLen(copy.bstrVal), 6u);
    VariantClear(&source);

    Counted object;
    source.vt = VT_UNKNOWN;
    source.punkVal = &object;
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK); // clears the string copy first
    EXPECT_EQ(object.refs, 2u);
    VariantClear(&copy);
    EXPECT_EQ(object.refs, 1u);
}

TEST(VariantTest, UnknownTypesAreRefusedAndLeftAsTheyAre) {
    VARIANT value;
    value.vt = 0x0FFF;
    EXPECT_EQ(VariantClear(&value), DISP_E_BADVARTYPE);
    EXPECT_EQ(value.vt, 0x0FFF);
    VARIANT copy;
    VariantInit(&copy);
    EXPECT_EQ(VariantCopy(&copy, &value), DISP_E_BADVARTYPE);
    EXPECT_EQ(copy.vt, VT_EMPTY);
}

TEST(VariantTest, ClearingNoVariantIsRefused) {
    MOLTR_SIMULATION_ONLY("Windows's VariantClear does not check for a null variant");
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

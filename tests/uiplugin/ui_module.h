#pragma once
// MOLTRUIP.DLL loaded from the driver's files as the universal driver loads it, with its two
// exports and the objects of its two classes.
#include <windows.h>
#include <gtest/gtest.h>
#include "prcomoem.h"

namespace moltr::test {

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
inline constexpr CLSID kOemUiClass = {
    0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {91723892-45D2-48E2-9EC9-562379DAF992}
inline constexpr CLSID kTicketProviderClass = {
    0x91723892, 0x45d2, 0x48e2, {0x9e, 0xc9, 0x56, 0x23, 0x79, 0xda, 0xf9, 0x92}};

class UiModule {
public:
    UiModule() {
        module_ = LoadLibraryW(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTRUIP.DLL");
        EXPECT_NE(module_, nullptr);
        getClassObject_ = reinterpret_cast<GetClassObjectFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<CanUnloadNowFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllCanUnloadNow")));
        EXPECT_NE(getClassObject_, nullptr);
        EXPECT_NE(canUnloadNow_, nullptr);
    }
    ~UiModule() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    UiModule(const UiModule&) = delete;
    UiModule& operator=(const UiModule&) = delete;

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
        return getClassObject_ ? getClassObject_(clsid, iid, object) : E_FAIL;
    }
    HRESULT CanUnloadNow() const { return canUnloadNow_ ? canUnloadNow_() : E_FAIL; }

    // A new object of `clsid` through the class factory, at the interface `iid`.
    template <typename Interface> Interface* Create(REFCLSID clsid, REFIID iid) const {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
                  S_OK);
        void* object = nullptr;
        if (factory != nullptr) {
            EXPECT_EQ(factory->CreateInstance(nullptr, iid, &object), S_OK);
            factory->Release();
        }
        return static_cast<Interface*>(object);
    }
    IPrintOemUI2* CreatePlugin() const {
        return Create<IPrintOemUI2>(kOemUiClass, IID_IPrintOemUI2);
    }
    IPrintOemPrintTicketProvider* CreateProvider() const {
        return Create<IPrintOemPrintTicketProvider>(kTicketProviderClass,
                                                    IID_IPrintOemPrintTicketProvider);
    }

private:
    using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFn = HRESULT (*)();
    HMODULE module_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    CanUnloadNowFn canUnloadNow_ = nullptr;
};

} // namespace moltr::test

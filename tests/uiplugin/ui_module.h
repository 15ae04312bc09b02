#pragma once
// MOLTRUIP.DLL loaded from the driver's files as the universal driver loads it, with its two
// exports and the objects of its two classes.
#include <windows.h>
#include "installed_driver.h"
#include "prcomoem.h"

namespace moltr::test {

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
inline constexpr CLSID kOemUiClass = {
    0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {91723892-45D2-48E2-9EC9-562379DAF992}
inline constexpr CLSID kTicketProviderClass = {
    0x91723892, 0x45d2, 0x48e2, {0x9e, 0xc9, 0x56, 0x23, 0x79, 0xda, 0xf9, 0x92}};

class UiModule : public DriverModule {
public:
    UiModule() : DriverModule(u"MOLTRUIP.DLL") {}

    IPrintOemUI2* CreatePlugin() const {
        return CreateObject<IPrintOemUI2>(kOemUiClass, IID_IPrintOemUI2);
    }
    IPrintOemPrintTicketProvider* CreateProvider() const {
        return CreateObject<IPrintOemPrintTicketProvider>(kTicketProviderClass,
                                                          IID_IPrintOemPrintTicketProvider);
    }
};

} // namespace moltr::test

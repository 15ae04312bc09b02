#pragma once
// CoUIPluginFactory: the class factory behind both classes of MOLTRUIP, the UI plug-in and the
// print-ticket provider.
#include <windows.h>
#include <objbase.h>

namespace moltr::ui {

class CoUIPluginFactory final : public IClassFactory {
public:
    CoUIPluginFactory();
    CoUIPluginFactory(const CoUIPluginFactory&) = delete;
    CoUIPluginFactory& operator=(const CoUIPluginFactory&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    // A CoUIPlugin answers the UI interfaces; for any other interface a CoPTProvider is asked.
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHOD(LockServer)(BOOL lock) override;

private:
    ~CoUIPluginFactory();

    LONG references_ = 0;
};

} // namespace moltr::ui

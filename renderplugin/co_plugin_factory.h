#pragma once
// CoPluginFactory: the class factory of the render plug-in's one class.
#include <windows.h>
#include <objbase.h>

namespace moltr::render {

class CoPluginFactory final : public IClassFactory {
public:
    CoPluginFactory();
    CoPluginFactory(const CoPluginFactory&) = delete;
    CoPluginFactory& operator=(const CoPluginFactory&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHOD(LockServer)(BOOL lock) override;

private:
    ~CoPluginFactory();

    LONG references_ = 0;
};

} // namespace moltr::render

#pragma once
// ClassFactory: the IClassFactory of a module's classes, counted as one of its live objects.
// Factory derives from it and makes the object in Create(iid, object), called once the arguments
// are checked and *object is cleared.
#include <windows.h>
#include <objbase.h>
#include <new>
#include "common/module_counts.h"

namespace moltr::common {

template <typename Factory> class ClassFactory : public IClassFactory {
public:
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }

    STDMETHOD_(ULONG, AddRef)() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }

    STDMETHOD_(ULONG, Release)() override {
        LONG count = InterlockedDecrement(&references_);
        if (count == 0) {
            delete static_cast<Factory*>(this);
        }
        return static_cast<ULONG>(count);
    }

    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        return static_cast<Factory*>(this)->Create(iid, object);
    }

    STDMETHOD(LockServer)(BOOL lock) override {
        if (lock) {
            AddServerLock();
        } else {
            RemoveServerLock();
        }
        return S_OK;
    }

protected:
    ClassFactory() { AddLiveObject(); }
    ~ClassFactory() { RemoveLiveObject(); }

private:
    LONG references_ = 0;
};

// DllGetClassObject's answer once the class is known to be the module's: a new Factory's `iid`.
template <typename Factory> HRESULT GetClassObject(REFIID iid, void** object) {
    auto* factory = new (std::nothrow) Factory;
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    factory->AddRef();
    HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

} // namespace moltr::common

#pragma once
// What every object of the DOM shares: its reference count, and the IDispatch members, which
// answer E_NOTIMPL as the DOM is used through its vtables only.
#include <windows.h>
#include <msxml2.h>

namespace moltr::msxml {

template <typename... Interfaces> class DispatchImpl : public Interfaces... {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = --refs_;
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

protected:
    DispatchImpl() = default;
    virtual ~DispatchImpl() = default;

private:
    LONG refs_ = 1;
};

// An object with one interface of its own (besides IUnknown and IDispatch).
template <typename Interface, const IID& kInterfaceId>
class SingleInterface : public DispatchImpl<Interface> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, kInterfaceId)) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
};

} // namespace moltr::msxml

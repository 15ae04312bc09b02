// CoCreateInstance for the in-process classes the machine has registered: the XML DOM documents.
#include <windows.h>
#include <msxml2.h>

#include "src/msxml/dom_document.h"
#include "src/ole32/com_apartments.h"

namespace moltr::com {
namespace {

struct ClassEntry {
    const CLSID* clsid;
    msxml::DomVersion version;
};

// The MSXML document classes; the free-threaded ones behave alike in one process.
constexpr ClassEntry kClasses[] = {
    {&CLSID_DOMDocument, msxml::DomVersion::k3},
    {&CLSID_FreeThreadedDOMDocument, msxml::DomVersion::k3},
    {&CLSID_DOMDocument26, msxml::DomVersion::k3},
    {&CLSID_FreeThreadedDOMDocument26, msxml::DomVersion::k3},
    {&CLSID_DOMDocument30, msxml::DomVersion::k3},
    {&CLSID_FreeThreadedDOMDocument30, msxml::DomVersion::k3},
    {&CLSID_DOMDocument40, msxml::DomVersion::k4},
    {&CLSID_FreeThreadedDOMDocument40, msxml::DomVersion::k4},
    {&CLSID_DOMDocument60, msxml::DomVersion::k6},
    {&CLSID_FreeThreadedDOMDocument60, msxml::DomVersion::k6},
};

const ClassEntry* FindClass(REFCLSID clsid) {
    for (const ClassEntry& entry : kClasses) {
        if (IsEqualCLSID(*entry.clsid, clsid)) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace
} // namespace moltr::com

extern "C" {

HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext,
                                REFIID riid, LPVOID* ppv) {
    if (!ppv) {
        return E_INVALIDARG;
    }
    *ppv = nullptr;
    if (!moltr::com::ThreadInitialised()) {
        return CO_E_NOTINITIALIZED;
    }
    const moltr::com::ClassEntry* entry = moltr::com::FindClass(rclsid);
    if (!entry || !(dwClsContext & CLSCTX_INPROC_SERVER)) {
        return REGDB_E_CLASSNOTREG;
    }
    if (pUnkOuter) {
        return CLASS_E_NOAGGREGATION;
    }
    return moltr::msxml::CreateDomDocument(entry->version, riid, ppv);
}

} // extern "C"

// The XML DOM on arbitrary documents, the way the print-ticket code reads them: loadXML, a walk
// of the whole tree with every node's name, text and attributes, a few selections, the XML.
#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

#include "sim/utf.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void Free(BSTR text) {
    SysFreeString(text);
}

void ReadNode(IXMLDOMNode* node) {
    BSTR text = nullptr;
    node->get_nodeName(&text);
    Free(text);
    text = nullptr;
    node->get_text(&text);
    Free(text);
    text = nullptr;
    node->get_baseName(&text);
    Free(text);
    VARIANT value;
    VariantInit(&value);
    node->get_nodeValue(&value);
    VariantClear(&value);
    IXMLDOMNamedNodeMap* attributes = nullptr;
    if (node->get_attributes(&attributes) == S_OK) {
        IXMLDOMNode* attribute = nullptr;
        while (attributes->nextNode(&attribute) == S_OK) {
            text = nullptr;
            attribute->get_namespaceURI(&text);
            Free(text);
            attribute->Release();
        }
        attributes->Release();
    }
}

// Depth first, without recursion: the parser bounds the depth, but the walk need not rely on it.
void Walk(IXMLDOMNode* root) {
    std::vector<IXMLDOMNode*> pending;
    root->AddRef();
    pending.push_back(root);
    while (!pending.empty()) {
        IXMLDOMNode* node = pending.back();
        pending.pop_back();
        ReadNode(node);
        IXMLDOMNode* child = nullptr;
        if (node->get_firstChild(&child) == S_OK) {
            pending.push_back(child);
        }
        IXMLDOMNode* sibling = nullptr;
        if (node != root && node->get_nextSibling(&sibling) == S_OK) {
            pending.push_back(sibling);
        }
        node->Release();
    }
}

void Select(IXMLDOMDocument2* document, const char16_t* query) {
    BSTR text = SysAllocString(reinterpret_cast<const OLECHAR*>(query));
    IXMLDOMNodeList* list = nullptr;
    if (document->selectNodes(text, &list) == S_OK) {
        LONG length = 0;
        list->get_length(&length);
        IXMLDOMNode* item = nullptr;
        if (list->get_item(length - 1, &item) == S_OK) {
            item->Release();
        }
        list->Release();
    }
    SysFreeString(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool initialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IXMLDOMDocument2* document = nullptr;
    if (!initialised ||
        FAILED(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IXMLDOMDocument2, reinterpret_cast<void**>(&document)))) {
        return 0;
    }
    std::u16string wide =
        moltr::sim::Utf16(std::string_view(reinterpret_cast<const char*>(data), size));
    BSTR xml = SysAllocStringLen(moltr::sim::W(wide), static_cast<UINT>(wide.size()));
    VARIANT_BOOL ok = VARIANT_FALSE;
    document->loadXML(xml, &ok);
    SysFreeString(xml);
    if (ok == VARIANT_TRUE) {
        VARIANT namespaces;
        namespaces.vt = VT_BSTR;
        namespaces.bstrVal = SysAllocString(
            reinterpret_cast<const OLECHAR*>(u"xmlns:psf='http://schemas.microsoft.com/windows/"
                                             u"2003/08/printing/printschemaframework'"));
        BSTR name = SysAllocString(reinterpret_cast<const OLECHAR*>(u"SelectionNamespaces"));
        document->setProperty(name, namespaces);
        SysFreeString(name);
        VariantClear(&namespaces);
        Walk(document);
        Select(document, u"//psf:Feature/psf:Option");
        Select(document, u"//@name");
        Select(document, u"/*/*[1]");
        BSTR text = nullptr;
        document->get_xml(&text);
        SysFreeString(text);
    }
    document->Release();
    return 0;
}

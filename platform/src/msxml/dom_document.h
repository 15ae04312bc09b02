#pragma once
// Creating the XML DOM document classes (CoCreateInstance's class table names them).
#include <windows.h>

namespace moltr::msxml {

// The MSXML generations differ only in their defaults here (validateOnParse, resolveExternals).
enum class DomVersion { k3, k4, k6 };

HRESULT CreateDomDocument(DomVersion version, REFIID riid, void** object);

} // namespace moltr::msxml

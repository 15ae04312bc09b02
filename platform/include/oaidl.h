#pragma once
// Host stand-in for the SDK header: OLE Automation (BSTR, VARIANT, IDispatch).
#include <windows.h>
#include "win/automation.h"

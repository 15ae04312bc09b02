#pragma once
// Host stand-in for the common controls header, which brings the property sheets too.
#include <windows.h>
#include <prsht.h>
#include "win/commctrl_types.h"

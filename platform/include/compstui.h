#pragma once
// Host stand-in for the common property sheet UI header.
#include <windows.h>
#include "win/compstui_types.h"

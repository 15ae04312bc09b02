#pragma once
// Host stand-in: on Windows <windows.h> brings these declarations too.
#include <windows.h>

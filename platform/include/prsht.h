#pragma once
// Host stand-in for the property-sheet header.
#include <windows.h>
#include "win/prsht_types.h"

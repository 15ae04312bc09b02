#pragma once
// Host stand-in for the print spooler's API.
#include <windows.h>
#include "win/spooler.h"
#include "win/spooler_forms.h"
#include "win/printer_notify.h"

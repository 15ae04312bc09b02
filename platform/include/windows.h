#pragma once
// Host stand-in for the Windows SDK's umbrella header: the declarations of the Win32 calls that the
// product makes, each group in its own header under win/.
#include "win/types.h"
#include "win/errors.h"
#include "win/com.h"
#include "win/automation.h"
#include "win/text.h"
#include "win/files.h"
#include "win/kernel.h"
#include "win/debug.h"
#include "win/registry.h"
#include "win/profile.h"
#include "win/modules.h"
#include "win/structures.h"
#include "win/gdi.h"
#include "win/user.h"

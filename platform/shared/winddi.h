#pragma once
// The device-driver interface under the SDK's name, for both builds.
#include "ddi_types.h"

#pragma once
#include "win/types.h"

#pragma once
// Host stand-in for the SDK header: MSXML 6 declares the same DOM interfaces as msxml2.h.
#include "msxml2.h"

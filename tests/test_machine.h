#pragma once
// A fresh machine for each test: on the host build a simulated machine of its own; on Windows the
// test runs on the machine it finds, so there is nothing to set up.
#ifdef _WIN32
namespace moltr::test {
struct FreshMachine {};
} // namespace moltr::test
#else
#include "sim/machine.h"
namespace moltr::test {
using FreshMachine = sim::TestMachine;
} // namespace moltr::test
#endif

// The machine administration of the Windows build's tests: the machine is the one that runs them,
// so a test machine is that machine as it stands and its configuration cannot be changed. The
// cases that change it are marked MOLTR_SIMULATION_ONLY.
#include "sim/machine.h"

namespace moltr::sim {

TestMachine::TestMachine(const MachineConfig&) {}

TestMachine::~TestMachine() = default;

bool UpdateConfig(const MachineConfig&) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
}

} // namespace moltr::sim

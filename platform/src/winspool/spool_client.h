#pragma once
// Who submits this process's jobs: the machine's user on the machine itself unless the process
// plays a client of another name (sim::SetClientIdentity).
#include <string>

namespace moltr::spool {

std::u16string ClientUserName();
// "\\" and the computer name.
std::u16string ClientMachineName();

} // namespace moltr::spool

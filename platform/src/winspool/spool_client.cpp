// The submitting user and machine of this process's jobs.
#include "src/winspool/spool_client.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

#include <mutex>

namespace moltr::spool {
namespace {

struct ClientIdentity {
    std::mutex lock;
    std::u16string user;
    std::u16string machine;
};

ClientIdentity& Identity() {
    static ClientIdentity identity;
    return identity;
}

} // namespace

std::u16string ClientUserName() {
    {
        std::lock_guard guard(Identity().lock);
        if (!Identity().user.empty()) {
            return Identity().user;
        }
    }
    return sim::Utf16(sim::CurrentConfig().userName);
}

std::u16string ClientMachineName() {
    {
        std::lock_guard guard(Identity().lock);
        if (!Identity().machine.empty()) {
            return Identity().machine;
        }
    }
    return u"\\\\" + sim::Utf16(sim::CurrentConfig().computerName);
}

} // namespace moltr::spool

namespace moltr::sim {

void SetClientIdentity(std::u16string_view userName, std::u16string_view machineName) {
    std::lock_guard guard(spool::Identity().lock);
    spool::Identity().user = userName;
    spool::Identity().machine = machineName;
}

} // namespace moltr::sim

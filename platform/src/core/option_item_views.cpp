// The views of option items that plug-in objects of this process publish.
#include "sim/option_item_views.h"

#include <mutex>
#include <utility>

namespace moltr::sim {
namespace {

struct Publications {
    std::mutex lock;
    std::vector<std::pair<const void*, OptionItemLister>> owners;
};

Publications& ThePublications() {
    static Publications* publications = new Publications;
    return *publications;
}

} // namespace

void PublishOptionItems(const void* owner, OptionItemLister lister) {
    Publications& publications = ThePublications();
    std::lock_guard guard(publications.lock);
    for (auto& [known, listed] : publications.owners) {
        if (known == owner) {
            listed = std::move(lister);
            return;
        }
    }
    publications.owners.emplace_back(owner, std::move(lister));
}

void WithdrawOptionItems(const void* owner) {
    Publications& publications = ThePublications();
    std::lock_guard guard(publications.lock);
    std::erase_if(publications.owners, [&](const auto& entry) { return entry.first == owner; });
}

std::vector<OptionItemsView> PublishedOptionItems() {
    std::vector<OptionItemLister> listers;
    {
        Publications& publications = ThePublications();
        std::lock_guard guard(publications.lock);
        for (const auto& entry : publications.owners) {
            listers.push_back(entry.second);
        }
    }
    // The listers run unlocked: they read their owner's items, which may publish in turn.
    std::vector<OptionItemsView> views;
    for (const OptionItemLister& lister : listers) {
        views.push_back(lister());
    }
    return views;
}

} // namespace moltr::sim

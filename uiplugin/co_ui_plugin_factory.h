#pragma once
// CoUIPluginFactory: the class factory behind both classes of MOLTRUIP, the UI plug-in and the
// print-ticket provider.
#include "common/class_factory.h"

namespace moltr::ui {

class CoUIPluginFactory final : public common::ClassFactory<CoUIPluginFactory> {
private:
    friend common::ClassFactory<CoUIPluginFactory>;
    ~CoUIPluginFactory() = default;

    // A CoUIPlugin answers the UI interfaces; for any other interface a CoPTProvider is asked.
    HRESULT Create(REFIID iid, void** object);
};

} // namespace moltr::ui

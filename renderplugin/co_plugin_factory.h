#pragma once
// CoPluginFactory: the class factory of the render plug-in's one class.
#include "common/class_factory.h"

namespace moltr::render {

class CoPluginFactory final : public common::ClassFactory<CoPluginFactory> {
private:
    friend common::ClassFactory<CoPluginFactory>;
    ~CoPluginFactory() = default;

    HRESULT Create(REFIID iid, void** object);
};

} // namespace moltr::render

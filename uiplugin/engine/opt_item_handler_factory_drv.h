#pragma once
// VORTAOptItemHandlerFactoryDrv: the product's factory. Known items get the product's handlers;
// in the host's page a host item named by "#" only shows the plug-in's string.
#include <windows.h>
#include "uiplugin/engine/opt_item_handler_factory.h"

namespace moltr::ui {

class VORTAOptItemHandlerFactoryDrv : public VORTAOptItemHandlerFactory {
public:
    using VORTAOptItemHandlerFactory::VORTAOptItemHandlerFactory;
    HRESULT RegisterItem(POPTITEM item) override;
    void AfterFinish() override;

private:
    // The product handler of `itemId`, or null when none applies or without memory.
    VORTAOptItemHandler* CreateProduct(POPTITEM item, DWORD itemId);
};

} // namespace moltr::ui

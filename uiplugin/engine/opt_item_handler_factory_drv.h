#pragma once
// VORTAOptItemHandlerFactoryDrv: the product's factory. Known items get the product's handlers;
// in the host's page a host item named by "#" only shows the plug-in's string. It owns the
// constraints between the items of its sheet.
#include <windows.h>
#include "uiplugin/engine/opt_item_handler_factory.h"

namespace moltr::ui {

class VORTAOptItemConstraint;

class VORTAOptItemHandlerFactoryDrv : public VORTAOptItemHandlerFactory {
public:
    using VORTAOptItemHandlerFactory::VORTAOptItemHandlerFactory;
    ~VORTAOptItemHandlerFactoryDrv() override;
    HRESULT RegisterItem(POPTITEM item) override;
    // Creates the constraints of the sheet and the model; E_OUTOFMEMORY when one cannot be made.
    HRESULT FinishRegistration() override;
    void AfterFinish() override;

private:
    // The product handler of `itemId`, or null when none applies or without memory.
    VORTAOptItemHandler* CreateProduct(POPTITEM item, DWORD itemId);
    HRESULT CreateConstraints();

    VORTAOptItemConstraint** constraints_ = nullptr;
    DWORD constraintCount_ = 0;
};

} // namespace moltr::ui

#pragma once
// The name dialogs of quick settings and custom media: OK stays disabled until the name has a
// character other than blanks. VORTAOptItemConstraintQUICKSETSNAME watches the quick-setting
// name, VORTAOptItemConstraintCMSNAME the custom medium's.
#include <windows.h>
#include "uiplugin/engine/opt_item_constraint.h"

namespace moltr::ui {

// Whether `text` (may be null) has a character above the space, which makes it a name.
bool HasName(LPCWSTR text);

template <DWORD NameId> class NameConstraint : public VORTAOptItemConstraint {
public:
    explicit NameConstraint(VORTAOptItemHandlerFactory* factory);
    LONG Evaluate(DWORD itemId, DWORD value, DWORD flags) override;
};

inline constexpr DWORD kQuickSettingNameId = 16100;
inline constexpr DWORD kCustomMediumNameId = 18100;

using VORTAOptItemConstraintQUICKSETSNAME = NameConstraint<kQuickSettingNameId>;
using VORTAOptItemConstraintCMSNAME = NameConstraint<kCustomMediumNameId>;

} // namespace moltr::ui

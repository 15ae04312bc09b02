#pragma once
// The window classes of the common controls and of property sheets, registered as application
// global classes so that they are found before the system's own table.
#include <windows.h>

namespace moltr::platform {

LRESULT CALLBACK TabControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TooltipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TreeViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK UpDownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SheetFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SheetPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The classes a property sheet is made of.
inline constexpr WCHAR kSheetFrameClass[] = L"PropSheetFrame";
inline constexpr WCHAR kSheetPageClass[] = L"PropSheetPage";

// Registers the classes of the ICC_ groups in `groups`, and those of property sheets; false when
// one cannot be registered.
bool RegisterControlClasses(DWORD groups);

} // namespace moltr::platform

#pragma once
// The common controls (version 6, drawn in the system's visual styles), loaded when the first
// of them is made rather than at start-up. The new-game dialog, whose only controls are two
// owner-drawn picture buttons, shows before the library is loaded; loading it costs about as
// much again as opening that first window.

#include <windows.h>
// After windows.h.
#include <commctrl.h>

namespace quintaro {

// Loads the library once and makes its version 6 the one this thread's new windows use, for
// the rest of the program; later calls do nothing.
void useCommonControls();

// Window subclassing from that library (loaded on the first call).
BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quintaro

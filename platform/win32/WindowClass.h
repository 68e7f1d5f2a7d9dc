// The editor's window class "VoltrexWndClass": registered when the first editor window of
// the process opens, unregistered when the last one closes. Several plug-in instances
// share it; a count under a process-wide lock keeps track.
#pragma once

#include <windows.h>

namespace platform {

inline constexpr wchar_t kEditorWindowClass[] = L"VoltrexWndClass";

// Registers the class on the first call (double clicks, arrow cursor, procedure proc);
// false when registration fails, and then nothing was counted.
bool AcquireEditorWindowClass(WNDPROC proc);
// Undoes one successful acquire; the last one unregisters the class.
void ReleaseEditorWindowClass();

}  // namespace platform

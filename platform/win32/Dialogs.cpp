#include "platform/Dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "platform/Files.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

// Room for long paths, well beyond the classic 260 characters.
constexpr DWORD kPathBufferChars = 32768;

}  // namespace

void ShowNativeMessage(const std::string& text, const std::string& caption) {
  MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_TASKMODAL);
}

// The standard open or save dialog, starting in folder (or the plug-in's own folder); no
// type filter. Open requires an existing file, save asks before overwriting one.
bool PromptNativeFile(std::string& result, FileAction action, const std::string& folder, void* parentWindow) {
  if (!parentWindow) return false;
  std::vector<wchar_t> path(kPathBufferChars, L'\0');
  const std::wstring initialFolder = Widen(folder.empty() ? LibraryFolder() : folder);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(parentWindow);
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathBufferChars;
  dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  BOOL chosen;
  if (action == FileAction::Save) {
    dialog.Flags |= OFN_OVERWRITEPROMPT;
    chosen = GetSaveFileNameW(&dialog);
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameW(&dialog);
  }
  if (!chosen) return false;
  result = Narrow(path.data());
  return true;
}

}  // namespace platform

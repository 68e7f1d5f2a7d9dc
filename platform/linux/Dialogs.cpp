#include "platform/Dialogs.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "platform/linux/ChildProcess.h"

namespace platform {
namespace {

using Command = std::vector<std::string>;

// zenity from 3.90 on is built on GTK 4: it always asks before overwriting, cannot attach
// to a window, and its first releases end with an error on --confirm-overwrite or --attach.
constexpr std::pair<int, int> kFirstGtk4Zenity{3, 90};

// The folder as a directory path, so that the choosers open it rather than select it; the
// plug-in's own folder when none is given.
std::string StartFolder(const std::string& folder) {
  std::string start = folder.empty() ? LibraryFolder() : folder;
  if (!start.empty() && start.back() != '/') start += '/';
  return start;
}

// The X11 editor window hands out its X Window id as the pointer's value.
std::string WindowId(void* parentWindow) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(parentWindow));
}

bool IsGtk4Zenity() {
  const std::optional<std::string> version = RunAndReadLine({"zenity", "--version"});
  std::pair<int, int> number;
  return version && std::sscanf(version->c_str(), "%d.%d", &number.first, &number.second) == 2 &&
         number >= kFirstGtk4Zenity;
}

Command ZenityCommand(FileAction action, const std::string& folder, void* parentWindow) {
  Command command{"zenity", "--file-selection", "--filename=" + folder};
  if (action == FileAction::Save) command.push_back("--save");
  if (IsGtk4Zenity()) return command;
  if (action == FileAction::Save) command.push_back("--confirm-overwrite");
  command.push_back("--attach=" + WindowId(parentWindow));
  return command;
}

// kdialog asks before overwriting and opens existing files only by itself.
Command KdialogCommand(FileAction action, const std::string& folder, void* parentWindow) {
  return {"kdialog", "--attach", WindowId(parentWindow),
          action == FileAction::Save ? "--getsavefilename" : "--getopenfilename", folder};
}

}  // namespace

// The desktop's message box through the same tools, waiting for its button as a modal box
// does; without either tool the message goes to standard error, where a host's log shows it.
void ShowNativeMessage(const std::string& text, const std::string& caption) {
  if (IsOnPath("zenity")) {
    RunAndReadLine({"zenity", "--error", "--no-markup", "--title=" + caption, "--text=" + text});
  } else if (IsOnPath("kdialog")) {
    RunAndReadLine({"kdialog", "--title", caption, "--error", text});
  } else {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  }
}

// The desktop's own file chooser, run as a child process while the editor waits: zenity
// (GNOME and most others), else kdialog (KDE). Without either the prompt answers as if
// cancelled. Open takes existing files only; save asks before overwriting one.
bool PromptNativeFile(std::string& result, FileAction action, const std::string& folder,
                      void* parentWindow) {
  result.clear();
  if (!parentWindow) return false;
  const std::string start = StartFolder(folder);
  Command command;
  if (IsOnPath("zenity"))
    command = ZenityCommand(action, start, parentWindow);
  else if (IsOnPath("kdialog"))
    command = KdialogCommand(action, start, parentWindow);
  else
    return false;
  std::optional<std::string> chosen = RunAndReadLine(command);
  if (!chosen || chosen->empty()) return false;
  result = std::move(*chosen);
  return true;
}

}  // namespace platform

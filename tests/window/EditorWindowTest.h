// The plug-in binary's editor opened inside a host window of the test's own, as a DAW opens
// it, and driven by native input. A plug-in object built in this process is the reference:
// where its controls lie and how its editor looks drawn headless. The scenarios are shared;
// each window system's file supplies the native side and the checks only it has.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/IRect.h"
#include "amp/VoltrexPlug.h"
#include "tests/amp/HostedAmp.h"
#include "tools/vsthost/PluginHost.h"

// The plug-in binary under test, from --plugin on the command line.
const std::string& PluginPath();

class EditorWindowTest : public testing::Test {
 protected:
  static constexpr int kEditorWidth = 630;
  static constexpr int kEditorHeight = 440;
  static constexpr int kTicksMs = 150;  // a few timer periods of 41 ms
  static constexpr int kInputMs = 20;   // long enough for sent input to be handled
  // The screenshot's file name in the screens folder.
  static const char* const kScreenName;

  EditorWindowTest();
  ~EditorWindowTest() override;
  void SetUp() override;
  void TearDown() override;

  // Loads one more instance of the plug-in and starts it as a host does.
  static std::unique_ptr<vsthost::PluginHost> LoadPlugin();
  // Centre of the reference's topmost control bound to paramIdx that takes clicks there.
  std::pair<int, int> CentreOf(int paramIdx);
  float Param(int paramIdx) { return host_->GetParameter(paramIdx); }
  int CallsOf(int32_t opcode);
  // The reference editor drawn headless at a scale, as 0x00RRGGBB words.
  std::vector<std::uint32_t> ReferencePixels(float scale = 1.0f);

  // The native side, one implementation per window system.
  bool CreateHostWindow();
  void DestroyHostWindow();
  bool Open();        // effEditOpen into the host window, then the editor window found
  void Idle(int ms);  // the host's idle or message loop for about ms milliseconds
  int EditorsInHost();
  IRect EditorRect();  // in the host window
  void MoveEditor(int x, int y);
  bool EditorHasFocus();
  std::vector<std::uint32_t> Grab();  // the editor window's pixels as 0x00RRGGBB
  // A screen of twice the usual density (192 dpi) for the windows opened next: false when
  // the test cannot make one (Win32: the prefix's own setting decides).
  bool MakeScreenDense();
  void RestoreScreen();
  void Press(int x, int y);           // the left button
  void DragTo(int x, int y);          // with the left button held
  void Release(int x, int y);
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }
  void DoubleClick(int x, int y);
  void RightClick(int x, int y);
  void Wheel(int x, int y, int detents);
  // The typed-entry widget the editor opens in its window.
  bool EntryOpen();
  bool EntryHasFocus();
  void Type(const std::string& keys);  // printable characters and '\b'
  void PressReturn();
  void ChooseRow(int row);  // of an open list
  // The host window as effEditOpen takes it.
  void* HostWindowHandle();
  // Window-system resources the editor could leave behind, by name: on X11 the server's
  // clients and this process's open files, on Windows the editor's own count of the GDI
  // and USER objects it holds.
  std::map<std::string, long> ResourceCounts();

  struct Native;
  std::unique_ptr<Native> native_;
  std::unique_ptr<vsthost::PluginHost> host_;
  std::unique_ptr<HostedAmp<>> reference_;
};

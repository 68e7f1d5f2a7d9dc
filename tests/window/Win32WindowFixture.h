// The plug-in binary's editor opened inside a host window of our own, as a DAW opens it,
// with a message loop pumped for a bounded time. A plug-in object built in this process
// serves as the reference: where its controls lie and how its editor looks headless.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugin/VoltrexPlug.h"
#include "tests/window/PluginPath.h"
#include "tools/vsthost/PluginHost.h"

inline constexpr wchar_t kEditorClass[] = L"VoltrexWndClass";

class EditorWindowTest : public ::testing::Test {
 protected:
  static constexpr int kParentWidth = 700;
  static constexpr int kParentHeight = 520;

  void SetUp() override;
  void TearDown() override;

  // A window standing in for the host's editor view, a child of its frame.
  static HWND CreateHostWindow();
  // Loads one more instance of the plug-in and starts it as a host does.
  std::unique_ptr<vsthost::PluginHost> LoadPlugin();
  // Runs the message loop for about ms milliseconds (several timer periods at 100).
  static void Pump(int ms);
  // The editor window inside parent, or null.
  static HWND EditorIn(HWND parent);
  // The plug-in binary's module; its editor class is registered for it.
  static bool EditorClassRegistered();

  // Centre of the topmost visible control bound to paramIdx, in editor coordinates.
  POINT CentreOf(int paramIdx);
  float Param(int paramIdx) { return host_->GetParameter(paramIdx); }
  int CallsOf(int32_t opcode);

  // Mouse messages as Windows sends them to the window under the pointer.
  static void Send(HWND window, UINT message, WPARAM keys, int x, int y);
  static void Click(HWND window, int x, int y);
  static void RightClick(HWND window, int x, int y);

  // The window's pixels (0x00RRGGBB) as shown on the screen.
  static std::vector<std::uint32_t> Grab(HWND window, int width, int height);

  HWND parent_ = nullptr;
  std::unique_ptr<vsthost::PluginHost> host_;
  std::unique_ptr<VoltrexPlug> reference_;
};

// The editor controls the engine addresses directly (the central display, the tuner, the
// response panel, the impulse-file field and the preset browser). The plug-in keeps one;
// the layout fills it while attaching the controls. Indices are for
// IGraphics::SetControlFromPlug and GetControl; pointers for the class operations
// (texts, the response curve, the chosen file). The controls are owned by the editor.
#pragma once

#include <array>

class IFileSelectorControl;
class IResponseGraphControl;
class ITextControl;

constexpr int kBrowserRows = 20;

struct EditorRefs {
  static constexpr int kNone = -1;

  // Central display.
  int nameStrip = kNone;
  int valueBar = kNone;
  ITextControl* valueText = nullptr;
  ITextControl* loadedPresetName = nullptr;
  ITextControl* bankLine = nullptr;    // display line B
  ITextControl* presetLine = nullptr;  // display line P

  // Tuner, drawn over the central display while it runs.
  int tunerBackground = kNone;
  int tunerMeter = kNone;
  int tunerNote = kNone;
  ITextControl* tunerText = nullptr;
  ITextControl* tuningName = nullptr;

  // Frequency-response panel and the impulse-response loader.
  int responsePanel = kNone;
  int responseGraphIndex = kNone;
  IResponseGraphControl* responseGraph = nullptr;
  ITextControl* irFileName = nullptr;
  IFileSelectorControl* irFileSelector = nullptr;

  // Preset browser.
  int browserPanel = kNone;
  std::array<ITextControl*, kBrowserRows> bankRows{};
  std::array<ITextControl*, kBrowserRows> presetRows{};
  int bankListArea = kNone;
  int presetListArea = kNone;

  int aboutBox = kNone;
};

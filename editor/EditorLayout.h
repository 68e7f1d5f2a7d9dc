// The editor the plug-in constructor builds: every control with its place, bitmap and
// parameter, attached in order (later controls lie on top and are hit first), with the
// initial visibility of each group. The plug-in runs the steps in this order, attaching
// the editor to itself after AttachImpulseFile and scanning the preset folder and banks
// around the display lines.
#pragma once

#include "editor/EditorRefs.h"
#include "editor/IBitmap.h"
#include "editor/IText.h"

class IEffectBase;
class IGraphics;

class EditorLayout {
 public:
  EditorLayout(IGraphics& graphics, IEffectBase* plug, EditorRefs& refs)
      : graphics_(graphics), plug_(plug), refs_(refs) {}

  void AttachBackground();
  void AttachEngineKnobs();  // hidden carriers of the engine's pedal values
  void AttachPedals();       // all 16, visible and overlapping until the handler runs
  void AttachMainControls();
  void AttachTuner();  // hidden
  void AttachResponsePanel();
  void AttachImpulseFile();
  void AttachBankLine();
  void AttachPresetLine();
  void AttachBrowser();  // hidden
  void AttachAboutBox();

  // The bitmap of resource id with the frames of the editor's image table.
  static IBitmap EditorBitmap(int id);
  // Text styles: A centred, B left (tuning name), C left (browser lists).
  static IText StyleA();
  static IText StyleB();
  static IText StyleC();

 private:
  void AttachPedal(int model);
  void AttachKnob(int x, int y, int paramIdx, int bitmapId);
  void AttachHiddenLineKnob(int paramIdx);
  int AttachBitmap(int x, int y, int paramIdx, int bitmapId);
  void AttachContact(int x, int y, int paramIdx);
  ITextControl* AttachText(int l, int t, int r, int b, const IText& style, const char* text = "");
  void Hide(int controlIdx);

  IGraphics& graphics_;
  IEffectBase* plug_;
  EditorRefs& refs_;
};

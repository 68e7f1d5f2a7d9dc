// A text field showing its parameter's display text (and unit label); dragged like a
// knob, stepped by the wheel, typed into through the host's text entry.
#pragma once

#include "editor/IKnobControl.h"
#include "editor/ITextControl.h"

class IParam;

class IParamTextControl : public ITextControl {
 public:
  IParamTextControl(IEffectBase* plug, const IRect& rect, int paramIdx, const IText& style,
                    bool showText = true, bool showLabel = true,
                    EDirection direction = EDirection::Vertical,
                    double gearing = IKnobControl::kDefaultGearing);

  void OnMouseDrag(float x, float y, float dx, float dy, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, int detents) override;
  void Draw(IGraphicsRaster& raster) override;

  // The text drawn for the current value: display text, then a blank and the label.
  void DisplayText(char* text, std::size_t capacity) const;

 private:
  const IParam* Param() const;

  bool showText_;
  bool showLabel_;
  EDirection direction_;
  double gearing_;
};

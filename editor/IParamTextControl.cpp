#include "editor/IParamTextControl.h"

#include <cmath>
#include <cstdio>

#include "editor/IGraphicsRaster.h"
#include "plugin/IEffectBase.h"

namespace {

constexpr std::size_t kDisplayBytes = IParam::kTextBytes * 2 + 2;

}  // namespace

IParamTextControl::IParamTextControl(IEffectBase* plug, const IRect& rect, int paramIdx,
                                     const IText& style, bool showText, bool showLabel,
                                     EDirection direction, double gearing)
    : ITextControl(plug, rect, paramIdx, style),
      showText_(showText),
      showLabel_(showLabel),
      direction_(direction),
      gearing_(gearing) {}

const IParam* IParamTextControl::Param() const {
  return Plug() ? Plug()->GetParam(ParamIdx()) : nullptr;
}

void IParamTextControl::OnMouseDrag(float, float, float dx, float dy, const IMouseMod& mod) {
  SetValue(GetValue() + KnobDragDelta(GetRECT(), direction_, gearing_, dx, dy, mod));
  SetDirty(true);
}

void IParamTextControl::OnMouseWheel(float x, float y, const IMouseMod& mod, int detents) {
  const IParam* param = Param();
  if (!param || param->GetType() == IParam::Type::Double || param->Max() <= param->Min()) {
    IControl::OnMouseWheel(x, y, mod, detents);
    return;
  }
  const double step = param->Step() > 0.0 ? param->Step() : 1.0;
  SetValue(GetValue() + detents * step / (param->Max() - param->Min()));
  SetDirty(true);
}

void IParamTextControl::DisplayText(char* text, std::size_t capacity) const {
  if (capacity == 0) return;
  text[0] = '\0';
  const IParam* param = Param();
  if (!param || !showText_) return;
  // Only a parameter's immutable description is read here, never its value: the control's
  // own value is drawn, so no lock is needed on the interface thread.
  char display[IParam::kTextBytes];
  if (param->GetType() == IParam::Type::Double) {
    param->GetDisplayForHost(GetValue(), true, display);
  } else {
    // The nearest step, as the parameter will store it: a value text matches exactly.
    const double step = param->Step() > 0.0 ? param->Step() : 1.0;
    const double steps = std::round(GetValue() * (param->Max() - param->Min()) / step);
    param->GetDisplayForHost(param->Min() + steps * step, false, display);
  }
  if (showLabel_)
    std::snprintf(text, capacity, "%s %s", display, param->Label());
  else
    std::snprintf(text, capacity, "%s", display);
}

void IParamTextControl::Draw(IGraphicsRaster& raster) {
  char text[kDisplayBytes];
  DisplayText(text, sizeof text);
  if (text[0] != '\0') raster.DrawIText(Style(), text, GetRECT());
}

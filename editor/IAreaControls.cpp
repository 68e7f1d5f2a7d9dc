#include "editor/IAreaControls.h"

void IToggleAreaControl::OnMouseDown(float, float, const IMouseMod&) {
  SetValue(GetValue() >= 0.5 ? 0.0 : 1.0);
  SetDirty(true);
}

void IListAreaControl::OnMouseUp(float, float y, const IMouseMod&) {
  const IRect& r = GetRECT();
  if (r.H() <= 0) return;
  SetValue(double(y - r.T) / r.H());
  SetDirty(true);
}

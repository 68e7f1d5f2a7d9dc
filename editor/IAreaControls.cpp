#include "editor/IAreaControls.h"

void IToggleAreaControl::OnMouseDown(int, int, const IMouseMod&) {
  SetValue(GetValue() >= 0.5 ? 0.0 : 1.0);
  SetDirty(true);
}

void IListAreaControl::OnMouseUp(int, int y, const IMouseMod&) {
  const IRect& r = GetRECT();
  if (r.H() <= 0) return;
  SetValue(double(y - r.T) / r.H());
  SetDirty(true);
}

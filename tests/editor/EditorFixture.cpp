#include "tests/editor/EditorFixture.h"

#include "editor/IBitmapControl.h"
#include "editor/IFileSelectorControl.h"
#include "editor/IKnobControl.h"
#include "editor/ISliderControl.h"

IBitmap BitmapOf(const IControl& control) {
  if (const auto* c = dynamic_cast<const IBitmapControl*>(&control)) return c->Bitmap();
  if (const auto* c = dynamic_cast<const IKnobMultiControl*>(&control)) return c->Bitmap();
  if (const auto* c = dynamic_cast<const ISliderControl*>(&control)) return c->Bitmap();
  if (const auto* c = dynamic_cast<const IFileSelectorControl*>(&control)) return c->Bitmap();
  return {};
}

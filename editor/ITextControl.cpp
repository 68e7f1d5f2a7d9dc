#include "editor/ITextControl.h"

#include "editor/IGraphicsRaster.h"

ITextControl::ITextControl(IEffectBase* plug, const IRect& rect, const IText& style,
                           std::string_view text)
    : IControl(plug, rect), style_(style) {
  text_.Store(text);
  // Nothing writes concurrently yet, so the drawn copy starts as the initial text even if
  // a later read loses every race against a busy writer.
  text_.Load(drawn_);
}

ITextControl::ITextControl(IEffectBase* plug, const IRect& rect, int paramIdx,
                           const IText& style)
    : IControl(plug, rect, paramIdx), style_(style) {}

void ITextControl::SetTextFromPlug(std::string_view text) {
  if (!text_.Store(text)) return;
  // Stored before it is marked: a paint that started earlier leaves it pending.
  SetDirty(false);
  SetRedrawPending();
}

std::string_view ITextControl::GetText() {
  text_.Load(drawn_);
  return drawn_;
}

void ITextControl::Draw(IGraphicsRaster& raster) {
  const std::string_view text = GetText();
  if (!text.empty()) raster.DrawIText(Style(), text, GetRECT());
}

// A text drawn in a rectangle. Its text may be set from any thread (the tuner writes its
// reading from the audio thread) while the interface thread draws it: the text lives in a
// fixed-capacity buffer with a sequence counter, and setting it never allocates.
#pragma once

#include <string_view>

#include "editor/AtomicText.h"
#include "editor/IControl.h"
#include "editor/IText.h"

class ITextControl : public IControl {
 public:
  static constexpr std::size_t kTextCapacity = 255;  // bytes; longer texts are cut

  ITextControl(IEffectBase* plug, const IRect& rect, const IText& style,
               std::string_view text = {});

  // Any thread: a text that differs is stored and drawn at the next tick.
  void SetTextFromPlug(std::string_view text);
  // The current text, copied (interface thread or tests).
  std::string_view GetText();

  void Draw(IGraphicsRaster& raster) override;

 protected:
  ITextControl(IEffectBase* plug, const IRect& rect, int paramIdx, const IText& style);
  const IText& Style() const { return style_; }

 private:
  IText style_;
  AtomicText<kTextCapacity> text_;
  char drawn_[kTextCapacity + 1] = {};  // the copy the interface thread draws from
};

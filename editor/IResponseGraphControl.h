// A log-frequency magnitude plot of the impulse response the cabinet loader hands it, with
// a read-out of frequency and gain under the pointer. The curve may be set from the
// thread that loads a response while the interface thread draws: its column heights are
// atomics, set without allocating on the drawing side.
#pragma once

#include <atomic>
#include <memory>

#include "cabinet/ResponseCurve.h"
#include "editor/IColor.h"
#include "editor/IControl.h"
#include "editor/IText.h"

class IResponseGraphControl : public IControl {
 public:
  // Read-out box: its size and its distance from the pointer.
  static constexpr int kReadoutWidth = 90;
  static constexpr int kReadoutHeight = 28;
  static constexpr int kReadoutOffset = 10;
  static constexpr int kReadoutFlipMargin = 100;

  // plot is where the curve is drawn and the pointer is followed; the control also owns
  // the margin around it that the read-out box may cover.
  IResponseGraphControl(IEffectBase* plug, const IRect& plot, const IText& style,
                        const IColor& color);

  void SetRange(double lowHz, double highHz, double spanDb, double offsetDb);
  void SetSmoothing(bool smoothing) { smoothing_ = smoothing; }
  // Analyses the first samples of a response (zero-padded) into the column heights.
  void SetImpulse(const CurveSamples& samples);

  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  void Draw(IGraphicsRaster& raster) override;

  const IRect& Plot() const { return plot_; }
  // Distance of column x's curve point from the plot's top.
  float ColumnHeight(int x) const;
  double FrequencyAt(int x) const;
  double GainAt(int y) const;
  // The read-out for the pointer at (x, y): its text and its box.
  void ReadoutText(int x, int y, char* text, std::size_t capacity) const;
  IRect ReadoutRect(int x, int y) const;
  bool ReadoutShown() const { return readoutShown_; }

 private:
  void SmoothColumns(double* heights) const;

  IRect plot_;
  IText style_;
  IColor color_;
  double lowHz_ = 20.0;
  double highHz_ = 20480.0;
  double spanDb_ = 80.0;
  double offsetDb_ = 30.0;
  bool smoothing_ = true;
  std::unique_ptr<std::atomic<float>[]> heights_;  // one per plot column
  bool readoutShown_ = false;                      // interface thread only
  int pointerX_ = 0;
  int pointerY_ = 0;
};

#include "editor/IResponseGraphControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "editor/IGraphicsRaster.h"

namespace {

constexpr double kRisingSmoothing = 0.3;   // time constant, in plot heights
constexpr double kFallingSmoothing = 0.03;
constexpr double kKiloHertz = 1000.0;

// Read-out text may run a little past its box.
constexpr int kTextOverhang = 20;

// The plot and every place the read-out box can reach from a pointer inside it, so that
// painting the control also erases the box it drew before.
IRect WithReadoutMargin(const IRect& plot) {
  using G = IResponseGraphControl;
  return {std::min(plot.L, plot.R - G::kReadoutFlipMargin - G::kReadoutWidth), plot.T,
          plot.R + kTextOverhang, plot.B + G::kReadoutOffset + G::kReadoutHeight};
}

}  // namespace

IResponseGraphControl::IResponseGraphControl(IEffectBase* plug, const IRect& plot,
                                             const IText& style, const IColor& color)
    : IControl(plug, WithReadoutMargin(plot)),
      plot_(plot),
      style_(style),
      color_(color),
      heights_(new std::atomic<float>[std::size_t(std::max(plot.W(), 0))]) {
  SetTargetRECT(plot);
  for (int x = 0; x < plot_.W(); ++x) heights_[x].store(float(plot_.H()), std::memory_order_relaxed);
}

void IResponseGraphControl::SetRange(double lowHz, double highHz, double spanDb, double offsetDb) {
  lowHz_ = lowHz;
  highHz_ = highHz;
  spanDb_ = spanDb;
  offsetDb_ = offsetDb;
  SetDirty(false);
}

void IResponseGraphControl::SetImpulse(const CurveSamples& samples) {
  const int width = plot_.W();
  if (width <= 0) return;
  std::vector<double> heights(std::size_t(width), 0.0);
  ComputeResponseCurve(samples, width, plot_.H(), heights.data());
  if (smoothing_) SmoothColumns(heights.data());
  for (int x = 0; x < width; ++x) heights_[x].store(float(heights[x]), std::memory_order_relaxed);
  SetDirty(false);
  SetRedrawPending();
}

// Each column follows the previous one: slowly where the curve rises (smaller heights),
// fast where it falls.
void IResponseGraphControl::SmoothColumns(double* heights) const {
  const double h = plot_.H();
  if (h <= 0.0) return;
  const double rising = std::exp(-1.0 / (kRisingSmoothing * h));
  const double falling = std::exp(-1.0 / (kFallingSmoothing * h));
  for (int x = 1; x < plot_.W(); ++x) {
    const double c = heights[x] < heights[x - 1] ? rising : falling;
    heights[x] = c * heights[x - 1] + (1.0 - c) * heights[x];
  }
}

float IResponseGraphControl::ColumnHeight(int x) const {
  return x >= 0 && x < plot_.W() ? heights_[x].load(std::memory_order_relaxed) : 0.0f;
}

double IResponseGraphControl::FrequencyAt(int x) const {
  const double decades = std::log10(highHz_ / lowHz_);
  return std::pow(10.0, double(x - plot_.L) / plot_.W() * decades + std::log10(lowHz_));
}

double IResponseGraphControl::GainAt(int y) const { return spanDb_ / plot_.H() * (y - plot_.T); }

void IResponseGraphControl::ReadoutText(int x, int y, char* text, std::size_t capacity) const {
  const double hz = FrequencyAt(x);
  const double gain = GainAt(y);
  if (hz >= kKiloHertz)
    std::snprintf(text, capacity, "Freq: %2.3f kHz\nGain: -%4.1f dB", hz / kKiloHertz, gain);
  else
    std::snprintf(text, capacity, "Freq: %4.0f Hz\nGain: -%4.1f dB", hz, gain);
}

IRect IResponseGraphControl::ReadoutRect(int x, int y) const {
  const int left = x > plot_.R - kReadoutFlipMargin ? x - kReadoutWidth : x + kReadoutOffset;
  const int top = y + kReadoutOffset;
  return {left, top, left + kReadoutWidth, top + kReadoutHeight};
}

void IResponseGraphControl::OnMouseOver(float x, float y, const IMouseMod&) {
  // The read-out follows whole editor pixels.
  const int px = static_cast<int>(std::floor(x)), py = static_cast<int>(std::floor(y));
  if (readoutShown_ && px == pointerX_ && py == pointerY_) return;
  readoutShown_ = true;
  pointerX_ = px;
  pointerY_ = py;
  SetDirty(false);
}

void IResponseGraphControl::OnMouseOut() {
  if (!readoutShown_) return;
  readoutShown_ = false;
  SetDirty(false);
}

void IResponseGraphControl::Draw(IGraphicsRaster& raster) {
  const float h = float(plot_.H());
  for (int x = 0; x + 1 < plot_.W(); ++x) {
    const float y0 = ColumnHeight(x);
    if (!(y0 > 0.0f && y0 < h)) continue;
    raster.DrawLine(color_, float(plot_.L + x), plot_.T + y0, float(plot_.L + x + 1),
                    plot_.T + ColumnHeight(x + 1));
  }
  if (!readoutShown_) return;
  char text[64];
  ReadoutText(pointerX_, pointerY_, text, sizeof text);
  const IRect box = ReadoutRect(pointerX_, pointerY_);
  raster.FillRect(color_, box);
  raster.DrawIText(style_, text, box);
}

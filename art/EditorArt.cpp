#include "art/EditorArt.h"

#include <string_view>

#include "art/BackgroundArt.h"
#include "art/ControlArt.h"
#include "art/DisplayArt.h"
#include "art/KnobArt.h"
#include "art/KnobStyles.h"
#include "art/PanelArt.h"
#include "art/PedalArt.h"
#include "art/PngFile.h"

namespace {

constexpr int kFirstPedalId = 101;
constexpr int kLastPedalId = 116;
constexpr int kFirstPedalKnobId = 117;
constexpr int kLastPedalKnobId = 126;
constexpr int kSliderKnobId = 119;

int FrameHeight(const EditorBitmapInfo& info) { return info.height / info.frames; }

// Frames are cut at floor(H * (k - 1) / N + 0.5) of the image's H device rows, so a
// height that N does not divide leaves a row between two frames unused: each frame is
// drawn at its cut.
Canvas Stack(const EditorBitmapInfo& info, Canvas frames) {
  if (info.height % info.frames == 0) return frames;
  const int frameHeight = FrameHeight(info);
  const long long deviceHeight = static_cast<long long>(info.height) * frames.Scale();
  Canvas out(info.width, info.height);
  for (int k = 1; k <= info.frames; ++k) {
    const int top = static_cast<int>((2LL * deviceHeight * (k - 1) + info.frames) / (2LL * info.frames));
    Canvas frame(info.width, frameHeight);
    frame.Draw(frames, 0, -(k - 1) * frameHeight);
    out.DrawAtDevice(frame, 0, top);
  }
  return out;
}

Canvas DrawFrames(const EditorBitmapInfo& info) {
  const int w = info.width, h = FrameHeight(info), n = info.frames;
  if (info.id == kSliderKnobId) return SliderStrip(w, h, n);
  if (info.id >= kFirstPedalKnobId && info.id <= kLastPedalKnobId)
    return KnobStrip(w, h, n, PedalKnobStyle(info.id));
  if (info.id >= kFirstPedalId && info.id <= kLastPedalId) return DrawPedal(info.id - kFirstPedalId);
  switch (info.id) {
    case 100: return DrawBackground();
    case 127: return KnobStrip(w, h, n, MainKnobStyle());
    case 128: return KnobStrip(w, h, n, LoudnessKnobStyle());
    case 129: return DrawPanelButton(w, h);
    case 130: return DrawRoundFootSwitch(w, h);
    case 131: case 132: case 133: case 134: case 135: return DrawFootPlate(info.id, w, h);
    case 136: case 137: return DrawToggle(w, h, n);
    case 138: return DrawLamp(w, h);
    case 139: return DrawNameStrip(w, h, n);
    case 140: return DrawValueBar(w, h, n);
    case 141: return DrawAboutBox(w, h);
    case 142: return DrawBrowserPanel(w, h);
    case 143: return DrawFaderHandle(w, h);
    case 144: return DrawTunerBackground(w, h);
    case 145: return DrawTunerMeter(w, h, n);
    case 146: return DrawTunerButton(w, h);
    case 147: return DrawTunerNotes(w, h, n);
    case 148: return DrawFileMark(w, h);
    case 149: return DrawResponsePanel(w, h);
    default: return Canvas(w, h * n);
  }
}

}  // namespace

std::string EditorImageFileName(const EditorBitmapInfo& info, int scale) {
  const std::string_view path = info.name;
  const std::string_view name = path.substr(path.find('/') + 1);
  if (scale == 1) return std::string(name);
  const std::size_t dot = name.rfind('.');
  std::string scaled(name.substr(0, dot));
  scaled += '@';
  scaled += std::to_string(scale);
  scaled += 'x';
  scaled += name.substr(dot);
  return scaled;
}

Canvas DrawEditorImage(const EditorBitmapInfo& info, int scale) {
  const ScopedCanvasScale atScale(scale);
  return Stack(info, DrawFrames(info));
}

bool EncodeEditorImage(const EditorBitmapInfo& info, int scale, std::vector<unsigned char>& png) {
  const Canvas image = DrawEditorImage(info, scale);
  return EncodeArtPng(image.ToPixels(), image.DeviceWidth(), image.DeviceHeight(), png);
}

bool WriteEditorImages(const std::string& folder, std::string& failed) {
  std::vector<unsigned char> png;
  for (int scale : kArtScales)
    for (const EditorBitmapInfo& info : kEditorBitmaps) {
      const std::string path = folder + "/" + EditorImageFileName(info, scale);
      if (!EncodeEditorImage(info, scale, png) || !WriteFileBytes(path, png)) {
        failed = path;
        return false;
      }
    }
  return true;
}

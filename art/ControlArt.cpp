#include "art/ControlArt.h"

#include <cmath>
#include <string>

#include "art/Materials.h"
#include "art/Palette.h"
#include "art/Shapes.h"
#include "art/Typeface.h"

namespace {

using shape::kPi;

Box Whole(const Canvas& c) { return {0, 0, c.Width(), c.Height()}; }

// Chrome: bright top-left, a dark band below the middle, a bright rim at the bottom.
Rgba Chrome(float y, float top, float bottom) {
  const float t = std::clamp((y - top) / std::max(1.0f, bottom - top), 0.0f, 1.0f);
  const float light = t < 0.45f ? 1.25f - t * 0.9f : (t < 0.6f ? 0.55f : 0.55f + (t - 0.6f) * 1.2f);
  return Shade(Hex(0xb8bcc2), light);
}

void DrawHexNut(Canvas& c, float cx, float cy, float radius) {
  float xs[6], ys[6];
  for (int i = 0; i < 6; ++i) {
    const float a = kPi / 6.0f + i * kPi / 3.0f;
    xs[i] = cx + radius * std::cos(a);
    ys[i] = cy + radius * std::sin(a);
  }
  const auto nut = shape::Polygon(xs, ys);
  c.FillSoft(Whole(c), shape::Offset(nut, 1.0f, 2.0f), Hex(0x000000, 0.5f), 2.0f);
  c.Fill(Whole(c), nut, [=](float x, float y) {
    const float facing = -((x - cx) * material::kLightX + (y - cy) * material::kLightY) / radius;
    return Shade(Hex(0xa9adb3), 0.95f + 0.3f * facing);
  });
}

// One frame of a chrome stomp button: a hex nut, a washer and the plunger, lower and
// darker when pressed.
void DrawStompButton(Canvas& c, float cx, float cy, float scale, bool pressed) {
  DrawHexNut(c, cx, cy, 17.0f * scale);
  c.Fill(Whole(c), shape::Circle(cx, cy, 12.5f * scale),
         [=](float, float y) { return Chrome(y, cy - 12.5f * scale, cy + 12.5f * scale); });
  c.FillColour(Whole(c), shape::Ring(cx, cy, 11.2f * scale, 12.5f * scale), Hex(0x000000, 0.25f));
  const float plunger = (pressed ? 8.0f : 9.0f) * scale;
  const float py = cy + (pressed ? 1.0f : 0.0f);
  c.FillSoft(Whole(c), shape::Circle(cx + 0.5f, py + 1.5f, plunger), Hex(0x000000, 0.6f), 1.5f);
  c.Fill(Whole(c), shape::Circle(cx, py, plunger), [=](float x, float y) {
    const float dx = x - cx, dy = y - py;
    const float facing = -(dx * material::kLightX + dy * material::kLightY) / plunger;
    const float dome = 1.0f - std::hypot(dx, dy) / plunger;
    return Shade(Hex(0xc7cbd1), (pressed ? 0.75f : 0.95f) + 0.35f * facing + 0.2f * dome);
  });
  const float hx = cx - plunger * 0.35f, hy = py - plunger * 0.4f;
  c.FillSoft(Whole(c), shape::Circle(hx, hy, plunger * 0.25f), Hex(0xffffff, pressed ? 0.35f : 0.7f), 1.5f);
}

// A rubber pad with ribs, as on large pedal foot switches.
void DrawRubberPad(Canvas& c, float l, float t, float r, float b, float radius, bool pressed,
                   const Rgba& rubber, int ribs) {
  const float dy = pressed ? 1.5f : 0.0f;
  c.FillSoft(Whole(c), shape::RoundRect(l + 1, t + 3, r + 1, b + 3, radius), Hex(0x000000, pressed ? 0.35f : 0.6f), 2.5f);
  c.Fill(Whole(c), shape::RoundRect(l, t + dy, r, b + dy, radius), [=](float x, float y) {
    const float rib = ribs > 0 ? 0.5f + 0.5f * std::cos((y - t - dy) / (b - t) * ribs * 2.0f * kPi) : 0.5f;
    Rgba base = material::Speckle(rubber, x, y, 5, 0.05f);
    return Shade(base, (pressed ? 0.8f : 1.0f) * (0.85f + 0.3f * rib) *
                           (1.1f - 0.2f * (y - t) / (b - t)));
  });
  // Lit upper edge.
  c.FillColour(Whole(c),
               shape::Subtract(shape::RoundRect(l, t + dy, r, b + dy, radius),
                               shape::RoundRect(l + 1, t + dy + 1.2f, r - 1, b + dy, radius)),
               Hex(0xffffff, pressed ? 0.1f : 0.22f));
}

template <class Painter>
Canvas TwoFrames(int width, int frameHeight, Painter paint) {
  Canvas strip(width, frameHeight * 2);
  for (int k = 0; k < 2; ++k) {
    Canvas frame(width, frameHeight);
    paint(frame, k == 1);
    strip.Draw(frame, 0, k * frameHeight);
  }
  return strip;
}

void DrawTreadle(Canvas& c, bool pressed) {
  const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
  const float dy = pressed ? 1.5f : 0.0f;
  c.FillSoft(Whole(c), shape::RoundRect(2, 5, w - 1, h - 1, 10), Hex(0x000000, 0.55f), 3.0f);
  c.Fill(Whole(c), shape::RoundRect(2, 2 + dy, w - 3, h - 4 + dy, 10), [=](float x, float y) {
    return Shade(material::Speckle(Hex(0x202022), x, y, 9, 0.05f), pressed ? 0.85f : 1.0f);
  });
  c.FillColour(Whole(c), shape::Subtract(shape::RoundRect(2, 2 + dy, w - 3, h - 4 + dy, 10),
                                         shape::RoundRect(3, 3.5f + dy, w - 4, h - 4 + dy, 10)),
               Hex(0xffffff, 0.25f));
  DrawRubberPad(c, 14, h - 50 + dy, w - 16, h - 14 + dy, 6, pressed, Hex(0x141414), 8);
  const Type name{Face::SansBoldItalic, 22.0f, 0.5f};
  DrawText(c, name, "Metal Style", w * 0.5f, 50 + dy, Align::Centre, Hex(0xff8a1e));
  const Type tag{Face::SansBold, 8.0f, 1.2f};
  DrawText(c, tag, "HEAVY DISTORTION", w * 0.5f, 66 + dy, Align::Centre, Hex(0xd8d8d8));
}

void DrawVentPlate(Canvas& c, bool pressed) {
  const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
  const float dy = pressed ? 1.5f : 0.0f;
  c.FillSoft(Whole(c), shape::RoundRect(3, 6, w - 2, h - 2, 6), Hex(0x000000, 0.6f), 2.5f);
  c.Fill(Whole(c), shape::RoundRect(3, 3 + dy, w - 4, h - 5 + dy, 6), [=](float x, float y) {
    return Shade(material::BrushedMetal(Hex(0x5c5f66), x, y, 21, 0.08f),
                 (pressed ? 0.8f : 1.0f) * (1.15f - 0.3f * y / h));
  });
  for (int i = 0; i < 6; ++i) {
    const float y = 14 + i * 9.0f + dy;
    c.FillColour(Whole(c), shape::RoundRect(16, y, w - 18, y + 4, 2), Hex(0x0b0c0e));
    c.FillColour(Whole(c), shape::Rect(17, y + 4, w - 19, y + 5), Hex(0xffffff, 0.18f));
  }
  for (float sx : {9.0f, w - 11.0f})
    for (float sy : {9.0f, h - 12.0f}) {
      c.Fill(Whole(c), shape::Circle(sx, sy + dy, 2.6f), [=](float, float y) { return Chrome(y, sy - 2.6f, sy + 2.6f); });
      c.FillColour(Whole(c), shape::Segment(sx - 1.6f, sy + dy, sx + 1.6f, sy + dy, 0.8f), Hex(0x222222));
    }
}

void DrawChromeTreadle(Canvas& c, bool pressed) {
  const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
  const float dy = pressed ? 1.5f : 0.0f;
  c.FillSoft(Whole(c), shape::RoundRect(4, 8, w - 2, h - 2, 8), Hex(0x000000, 0.6f), 3.0f);
  c.Fill(Whole(c), shape::RoundRect(3, 3 + dy, w - 4, h - 5 + dy, 8), [=](float x, float y) {
    // Diamond tread plate.
    const float u = (x + y) / 7.0f, v = (x - y) / 7.0f;
    const float bump = std::fabs(u - std::round(u)) < 0.18f && std::fabs(v - std::round(v)) < 0.45f ? 1.0f : 0.0f;
    const Rgba base = Chrome(y, 3, h - 5);
    return Shade(base, (pressed ? 0.82f : 1.0f) * (1.0f + bump * 0.18f));
  });
  c.FillColour(Whole(c), shape::Subtract(shape::RoundRect(3, 3 + dy, w - 4, h - 5 + dy, 8),
                                         shape::RoundRect(4.5f, 4.5f + dy, w - 5.5f, h - 6.5f + dy, 7)),
               Hex(0x2a2c30, 0.7f));
}

}  // namespace

Canvas DrawPanelButton(int width, int frameHeight) {
  return TwoFrames(width, frameHeight, [](Canvas& c, bool pressed) {
    const float l = 3.5f, t = 8.5f, r = c.Width() - 3.5f, b = c.Height() - 2.5f;
    // Bezel.
    c.FillSoft(Whole(c), shape::RoundRect(l + 0.5f, t + 1.5f, r + 0.5f, b + 1.5f, 4), Hex(0x000000, 0.55f), 1.5f);
    c.Fill(Whole(c), shape::RoundRect(l, t, r, b, 4), [=](float, float y) { return Chrome(y, t, b); });
    // Key cap.
    const float inset = 2.5f, dy = pressed ? 1.0f : 0.0f;
    c.FillColour(Whole(c), shape::RoundRect(l + inset, t + inset, r - inset, b - inset, 3), Hex(0x0a0a0b));
    c.Fill(Whole(c), shape::RoundRect(l + inset + 1, t + inset + 0.5f + dy, r - inset - 1, b - inset - 1.5f + dy, 2.5f),
           [=](float, float y) {
             return material::VerticalShade(Hex(0x2c2d30), y, t + inset, b - inset, pressed ? 0.9f : 1.6f, pressed ? 0.7f : 0.85f);
           });
    c.FillColour(Whole(c), shape::Rect(l + inset + 2, t + inset + 1 + dy, r - inset - 2, t + inset + 2 + dy),
                 Hex(0xffffff, pressed ? 0.08f : 0.22f));
  });
}

Canvas DrawRoundFootSwitch(int width, int frameHeight) {
  return TwoFrames(width, frameHeight, [](Canvas& c, bool pressed) {
    DrawStompButton(c, c.Width() * 0.5f - 0.5f, c.Height() * 0.5f - 0.5f, 1.0f, pressed);
  });
}

Canvas DrawFootPlate(int id, int width, int frameHeight) {
  return TwoFrames(width, frameHeight, [id](Canvas& c, bool pressed) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    switch (id) {
      case 131:  // wide rubber pad with a stomp button under it
        DrawRubberPad(c, 3, 3, w - 4, h - 6, 7, pressed, Hex(0x1a1a1b), 9);
        break;
      case 132:
        DrawChromeTreadle(c, pressed);
        break;
      case 133:
        DrawTreadle(c, pressed);
        break;
      case 134:
        DrawRubberPad(c, 3, 3, w - 4, h - 6, 9, pressed, Hex(0x1c1b1a), 6);
        break;
      default:
        DrawVentPlate(c, pressed);
        break;
    }
  });
}

Canvas DrawToggle(int width, int frameHeight, int frames) {
  Canvas strip(width, frameHeight * frames);
  for (int k = 0; k < frames; ++k) {
    Canvas c(width, frameHeight);
    const float cx = width * 0.5f, cy = frameHeight * 0.5f;
    DrawHexNut(c, cx, cy, 9.0f);
    c.Fill(Whole(c), shape::Circle(cx, cy, 5.5f), [=](float, float y) { return Chrome(y, cy - 5.5f, cy + 5.5f); });
    // Lever position: -1 down, 0 centre, +1 up.
    const float position = frames == 2 ? (k == 0 ? -1.0f : 1.0f) : static_cast<float>(k - 1);
    const float tipY = cy - position * 11.0f;
    const float tipRadius = position == 0.0f ? 3.6f : 3.0f;
    c.FillSoft(Whole(c), shape::Segment(cx + 1.0f, cy + 1.5f, cx + 1.0f, tipY + 1.5f, 4.0f), Hex(0x000000, 0.5f), 1.5f);
    c.Fill(Whole(c), shape::Segment(cx, cy, cx, tipY, 3.2f), [=](float x, float) {
      return Shade(Hex(0xd4d7db), 1.15f - 0.45f * std::fabs(x - cx + 0.6f));
    });
    c.Fill(Whole(c), shape::Circle(cx, tipY, tipRadius), [=](float x, float y) {
      const float facing = -((x - cx) * material::kLightX + (y - tipY) * material::kLightY) / tipRadius;
      return Shade(Hex(0xcfd3d8), 0.95f + 0.35f * facing);
    });
    strip.Draw(c, 0, k * frameHeight);
  }
  return strip;
}

Canvas DrawLamp(int width, int frameHeight) {
  return TwoFrames(width, frameHeight, [](Canvas& c, bool on) {
    const float cx = c.Width() * 0.5f, cy = c.Height() * 0.5f;
    c.Fill(Whole(c), shape::Circle(cx, cy, 6.5f), [=](float, float y) { return Chrome(y, cy - 6.5f, cy + 6.5f); });
    c.FillColour(Whole(c), shape::Circle(cx, cy, 4.8f), Hex(0x1a0505));
    if (on) {
      c.FillSoft(Whole(c), shape::Circle(cx, cy, 5.5f), Hex(0xff6a40, 0.55f), 1.5f);
      c.Fill(Whole(c), shape::Circle(cx, cy, 4.2f), [=](float x, float y) {
        const float d = std::hypot(x - cx + 1.0f, y - cy + 1.0f) / 4.2f;
        return Mix(Hex(0xfff0d8), palette::kLampRed, std::clamp(d * 1.2f, 0.0f, 1.0f));
      });
    } else {
      c.Fill(Whole(c), shape::Circle(cx, cy, 4.2f), [=](float x, float y) {
        const float d = std::hypot(x - cx + 1.2f, y - cy + 1.2f) / 4.2f;
        return Mix(Hex(0x8a2a22), Hex(0x3a0a08), std::clamp(d, 0.0f, 1.0f));
      });
      c.FillColour(Whole(c), shape::Circle(cx - 1.4f, cy - 1.5f, 1.1f), Hex(0xffffff, 0.45f));
    }
  });
}

Canvas DrawFaderHandle(int width, int height) {
  Canvas c(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  c.Fill(Whole(c), shape::RoundRect(0, 0, w, h, 2.5f), [=](float x, float) {
    return Shade(Hex(0x5d6066), 1.3f - 0.5f * x / w);
  });
  c.FillColour(Whole(c), shape::Subtract(shape::RoundRect(0, 0, w, h, 2.5f), shape::RoundRect(1, 1, w - 1, h - 1, 2)),
               Hex(0x1e1f22));
  for (int i = -2; i <= 2; ++i) {
    const float y = h * 0.5f + i * 3.0f;
    c.FillColour(Whole(c), shape::Rect(2.5f, y - 0.5f, w - 2.5f, y + 0.5f), Hex(0x1a1b1d));
    c.FillColour(Whole(c), shape::Rect(2.5f, y + 0.5f, w - 2.5f, y + 1.3f), Hex(0xffffff, 0.35f));
  }
  return c;
}

Canvas DrawTunerButton(int width, int frameHeight) {
  return TwoFrames(width, frameHeight, [](Canvas& c, bool pressed) {
    const float cx = c.Width() * 0.5f, cy = c.Height() * 0.5f;
    c.FillColour(Whole(c), shape::Circle(cx, cy, 5.6f), palette::kLcdInk);
    const Rgba arrow = pressed ? palette::kLcdInk : palette::kLcd;
    if (pressed) c.FillColour(Whole(c), shape::Circle(cx, cy, 4.6f), palette::kLcdDark);
    const float xs[3] = {cx - 1.6f, cx + 2.6f, cx - 1.6f};
    const float ys[3] = {cy - 3.0f, cy, cy + 3.0f};
    c.FillColour(Whole(c), shape::Polygon(xs, ys), arrow);
  });
}

Canvas DrawFileMark(int width, int height) {
  Canvas c(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  c.FillColour(Whole(c), shape::RoundRect(0, 0, w, h, 2), palette::kLcdInk);
  // A folder.
  c.FillColour(Whole(c), shape::RoundRect(4, 4, 9, 7, 1), palette::kLcd);
  c.FillColour(Whole(c), shape::RoundRect(4, 5.5f, 16, 13, 1), palette::kLcd);
  DrawText(c, Type{Face::SansBold, 10.0f, 0.6f}, "OPEN...", 21.0f, 12.0f, Align::Left, palette::kLcd);
  return c;
}

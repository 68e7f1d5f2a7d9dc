// Signed distance functions of the shapes the artwork is built from: negative inside,
// positive outside, in pixels. Each returns a callable for Canvas::Fill.
#pragma once

#include <algorithm>
#include <cmath>

#include "art/Canvas.h"

namespace shape {

constexpr float kPi = 3.14159265358979f;

inline auto Circle(float cx, float cy, float radius) {
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

inline auto Ring(float cx, float cy, float inner, float outer) {
  return [=](float x, float y) {
    const float d = std::hypot(x - cx, y - cy);
    return std::max(inner - d, d - outer);
  };
}

// A rectangle from (l, t) to (r, b) with corners rounded by radius.
inline auto RoundRect(float l, float t, float r, float b, float radius) {
  return [=](float x, float y) {
    const float hx = (r - l) * 0.5f - radius, hy = (b - t) * 0.5f - radius;
    const float qx = std::fabs(x - (l + r) * 0.5f) - hx, qy = std::fabs(y - (t + b) * 0.5f) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
  };
}

inline auto Rect(float l, float t, float r, float b) { return RoundRect(l, t, r, b, 0.0f); }

// A stroke of the given width between two points, with round caps.
inline auto Segment(float x1, float y1, float x2, float y2, float width) {
  return [=](float x, float y) {
    const float dx = x2 - x1, dy = y2 - y1;
    const float length2 = dx * dx + dy * dy;
    const float t = length2 > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy)) - width * 0.5f;
  };
}

// A convex polygon given by its corners in clockwise order on screen (y down).
template <int N>
auto Polygon(const float (&xs)[N], const float (&ys)[N]) {
  struct Corners {
    float x[N], y[N];
  } c{};
  for (int i = 0; i < N; ++i) {
    c.x[i] = xs[i];
    c.y[i] = ys[i];
  }
  return [c](float x, float y) {
    float d = -1e9f;
    for (int i = 0; i < N; ++i) {
      const int j = (i + 1) % N;
      const float ex = c.x[j] - c.x[i], ey = c.y[j] - c.y[i];
      const float length = std::hypot(ex, ey);
      // Outward normal of a clockwise edge on a y-down screen.
      d = std::max(d, ((x - c.x[i]) * ey - (y - c.y[i]) * ex) / length);
    }
    return d;
  };
}

template <class A, class B>
auto Union(A a, B b) {
  return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

template <class A, class B>
auto Subtract(A a, B b) {
  return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

template <class A, class B>
auto Intersect(A a, B b) {
  return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

template <class A>
auto Offset(A a, float dx, float dy) {
  return [=](float x, float y) { return a(x - dx, y - dy); };
}

// Bounding box of a circle or rectangle, one pixel larger on every side plus margin.
inline Box Around(float l, float t, float r, float b, float margin = 0.0f) {
  return {static_cast<int>(std::floor(l - margin)) - 1, static_cast<int>(std::floor(t - margin)) - 1,
          static_cast<int>(std::ceil(r + margin)) + 1, static_cast<int>(std::ceil(b + margin)) + 1};
}
inline Box AroundCircle(float cx, float cy, float radius, float margin = 0.0f) {
  return Around(cx - radius, cy - radius, cx + radius, cy + radius, margin);
}

}  // namespace shape

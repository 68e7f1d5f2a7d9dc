// An editor rectangle: left and top inside, right and bottom outside, in editor pixels.
#pragma once

#include <algorithm>

struct IRect {
  int L = 0;
  int T = 0;
  int R = 0;
  int B = 0;

  int W() const { return R - L; }
  int H() const { return B - T; }
  bool Empty() const { return R <= L || B <= T; }
  bool Contains(int x, int y) const { return x >= L && x < R && y >= T && y < B; }
  // A point between pixel centres, as the pointer gives at scales above 1.
  bool Contains(float x, float y) const {
    return x >= static_cast<float>(L) && x < static_cast<float>(R) && y >= static_cast<float>(T) &&
           y < static_cast<float>(B);
  }
  bool Intersects(const IRect& other) const { return !Intersect(other).Empty(); }

  IRect Intersect(const IRect& other) const {
    return {std::max(L, other.L), std::max(T, other.T), std::min(R, other.R),
            std::min(B, other.B)};
  }
  // The smallest rectangle holding both; an empty side contributes nothing.
  IRect Union(const IRect& other) const {
    if (Empty()) return other;
    if (other.Empty()) return *this;
    return {std::min(L, other.L), std::min(T, other.T), std::max(R, other.R),
            std::max(B, other.B)};
  }
  bool operator==(const IRect&) const = default;
};

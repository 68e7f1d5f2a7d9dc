// The drive stage's clipping curves.
#pragma once

// Soft clipper: a parabolic knee of slope 10 k at zero that reaches +-k at |v| = 0.2 and
// stays there. The multiplications run left to right as in the kernels' design.
inline double SoftClip(double v, double k) {
  if (v >= 0.2) return (0.1 * k) * 10.0;
  if (v <= -0.2) return (-0.1 * k) * 10.0;
  const double magnitude = v < 0.0 ? -v : v;
  return (1.0 - magnitude / 0.4) * v * k * 10.0;
}

// Asymmetric clipper: negative half-waves hard-clip at -0.5, positive ones take the soft
// curve limited to 0 to 0.5.
inline double AsymmetricClip(double v, double k, double drive) {
  const double w = v * drive;
  const double negative = w < -0.5 ? -0.5 : (w > 0.0 ? 0.0 : w);
  const double soft = SoftClip(w, k);
  const double positive = soft < 0.0 ? 0.0 : (soft > 0.5 ? 0.5 : soft);
  return negative + positive;
}

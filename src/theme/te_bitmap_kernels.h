// Row operations every TteBitmap draw reduces to, in a scalar reference form and
// in SSE2 and AVX2 forms; RowKernels() picks the widest one the processor runs.
#pragma once

#include <cstdint>

using TteColor = uint32_t;

using TteRowOp = void (*)(TteColor* dst, const TteColor* src, int count);

struct TteRowKernels {
  const char* Name;
  TteRowOp Copy;     // d := s, a clear s (alpha 0) too
  TteRowOp KeyCopy;  // key pixels (RGB 127, 0, 127) leave d; others, clear ones too,
                     // d := s with alpha 255
  TteRowOp Blend;    // d := s over d, each byte floor((256 d + a (s - d)) / 256)
};

// The table chosen once, on first use, for this processor.
const TteRowKernels& RowKernels();

// Every table by name, for the tests and the benchmark; null where the
// processor or the build lacks the instruction set.
const TteRowKernels& ScalarRowKernels();
const TteRowKernels* Sse2RowKernels();
const TteRowKernels* Avx2RowKernels();

// One pixel of the blend rule, the reference every kernel is held to.
inline TteColor BlendPixel(TteColor s, TteColor d) {
  const uint32_t a = s >> 24;
  if (a == 0) return d;
  if (a == 255) return s;
  // (256 - a) d + a s never exceeds 256 * 255, so two channels share one 32-bit
  // word without carrying into each other.
  const uint32_t ia = 256 - a;
  const uint32_t rb = (((d & 0x00FF00FFu) * ia + (s & 0x00FF00FFu) * a) >> 8) & 0x00FF00FFu;
  const uint32_t ag = (((d >> 8) & 0x00FF00FFu) * ia + ((s >> 8) & 0x00FF00FFu) * a) & 0xFF00FF00u;
  return rb | ag;
}

inline bool IsKeyPixel(TteColor c) { return (c & 0x00FFFFFFu) == 0x007F007Fu; }

// Scalar tails shared by the vector kernels.
namespace te_kernels_scalar {
void Copy(TteColor* dst, const TteColor* src, int count);
void KeyCopy(TteColor* dst, const TteColor* src, int count);
void Blend(TteColor* dst, const TteColor* src, int count);
}  // namespace te_kernels_scalar

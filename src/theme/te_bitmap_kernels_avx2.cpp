// AVX2 row operations: eight pixels per step, the scalar ones for the tail.
#include <immintrin.h>

#include <cstring>

#include "te_bitmap_kernels.h"

namespace {

// As in the SSE2 table: the C library's copy is the fastest plain move there is.
void copy_argb32_avx2(TteColor* dst, const TteColor* src, int count) {
  if (count > 0) std::memcpy(dst, src, size_t(count) * sizeof(TteColor));
}

void keycopy_argb32_avx2(TteColor* dst, const TteColor* src, int count) {
  const __m256i rgb = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i key = _mm256_set1_epi32(0x007F007F);
  const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i isKey = _mm256_cmpeq_epi32(_mm256_and_si256(s, rgb), key);
    const int keyMask = _mm256_movemask_epi8(isKey);
    if (keyMask == -1) continue;
    const __m256i solid = _mm256_or_si256(s, opaque);
    __m256i* d = reinterpret_cast<__m256i*>(dst + i);
    if (keyMask == 0)
      _mm256_storeu_si256(d, solid);
    else
      _mm256_storeu_si256(d, _mm256_blendv_epi8(solid, _mm256_loadu_si256(d), isKey));
  }
  te_kernels_scalar::KeyCopy(dst + i, src + i, count - i);
}

// The SSE2 arithmetic on twice the width: ((256 - a) d + a s) >> 8 per byte in
// 16-bit lanes. Unpacking and packing both work within 128-bit halves, so the
// pixel order survives the round trip.
void blend_argb32_on_argb32_avx2(TteColor* dst, const TteColor* src, int count) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i full = _mm256_set1_epi32(255);
  const __m256i k256 = _mm256_set1_epi16(256);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i a32 = _mm256_srli_epi32(s, 24);
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(a32, zero)) == -1) continue;
    const __m256i opaque = _mm256_cmpeq_epi32(a32, full);
    __m256i* dp = reinterpret_cast<__m256i*>(dst + i);
    if (_mm256_movemask_epi8(opaque) == -1) {
      _mm256_storeu_si256(dp, s);
      continue;
    }
    const __m256i d = _mm256_loadu_si256(dp);
    const __m256i a16 = _mm256_or_si256(a32, _mm256_slli_epi32(a32, 16));
    const __m256i aLo = _mm256_unpacklo_epi32(a16, a16);
    const __m256i aHi = _mm256_unpackhi_epi32(a16, a16);
    const __m256i lo = _mm256_srli_epi16(
        _mm256_add_epi16(
            _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), _mm256_sub_epi16(k256, aLo)),
            _mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), aLo)),
        8);
    const __m256i hi = _mm256_srli_epi16(
        _mm256_add_epi16(
            _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), _mm256_sub_epi16(k256, aHi)),
            _mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), aHi)),
        8);
    _mm256_storeu_si256(dp, _mm256_blendv_epi8(_mm256_packus_epi16(lo, hi), s, opaque));
  }
  te_kernels_scalar::Blend(dst + i, src + i, count - i);
}

}  // namespace

extern const TteRowKernels kRowKernelsAvx2{"avx2", copy_argb32_avx2, keycopy_argb32_avx2,
                                           blend_argb32_on_argb32_avx2};

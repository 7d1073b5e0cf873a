// SSE2 row operations: four pixels per step, the scalar ones for the tail.
#include <emmintrin.h>

#include <cstring>

#include "te_bitmap_kernels.h"

namespace {

// The C library's copy already picks the widest moves (and streaming stores for
// long runs) the processor has.
void copy_argb32_sse2(TteColor* dst, const TteColor* src, int count) {
  if (count > 0) std::memcpy(dst, src, size_t(count) * sizeof(TteColor));
}

void keycopy_argb32_sse2(TteColor* dst, const TteColor* src, int count) {
  const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
  const __m128i key = _mm_set1_epi32(0x007F007F);
  const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(s, rgb), key);
    const int keyMask = _mm_movemask_epi8(isKey);
    if (keyMask == 0xFFFF) continue;
    const __m128i solid = _mm_or_si128(s, opaque);
    __m128i* d = reinterpret_cast<__m128i*>(dst + i);
    if (keyMask == 0) {
      _mm_storeu_si128(d, solid);
    } else {
      const __m128i old = _mm_loadu_si128(d);
      _mm_storeu_si128(d, _mm_or_si128(_mm_and_si128(isKey, old), _mm_andnot_si128(isKey, solid)));
    }
  }
  te_kernels_scalar::KeyCopy(dst + i, src + i, count - i);
}

// Each byte: ((256 - a) d + a s) >> 8 in 16-bit lanes. The sum is at most
// 256 * 255, so it fits an unsigned lane and the logical shift is the floor.
// a = 0 gives d by itself; a = 255 must take s, which the formula does not give.
inline __m128i BlendLanes(__m128i s, __m128i d, __m128i a16, __m128i opaque) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i k256 = _mm_set1_epi16(256);
  const __m128i aLo = _mm_unpacklo_epi32(a16, a16);
  const __m128i aHi = _mm_unpackhi_epi32(a16, a16);
  const __m128i lo = _mm_srli_epi16(
      _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(k256, aLo)),
                    _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), aLo)),
      8);
  const __m128i hi = _mm_srli_epi16(
      _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(k256, aHi)),
                    _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), aHi)),
      8);
  const __m128i mixed = _mm_packus_epi16(lo, hi);
  return _mm_or_si128(_mm_and_si128(opaque, s), _mm_andnot_si128(opaque, mixed));
}

void blend_argb32_on_argb32_sse2(TteColor* dst, const TteColor* src, int count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi32(255);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i a32 = _mm_srli_epi32(s, 24);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(a32, zero)) == 0xFFFF) continue;
    const __m128i opaque = _mm_cmpeq_epi32(a32, full);
    __m128i* d = reinterpret_cast<__m128i*>(dst + i);
    if (_mm_movemask_epi8(opaque) == 0xFFFF) {
      _mm_storeu_si128(d, s);
      continue;
    }
    const __m128i a16 = _mm_or_si128(a32, _mm_slli_epi32(a32, 16));
    _mm_storeu_si128(d, BlendLanes(s, _mm_loadu_si128(d), a16, opaque));
  }
  te_kernels_scalar::Blend(dst + i, src + i, count - i);
}

}  // namespace

extern const TteRowKernels kRowKernelsSse2{"sse2", copy_argb32_sse2, keycopy_argb32_sse2,
                                           blend_argb32_on_argb32_sse2};

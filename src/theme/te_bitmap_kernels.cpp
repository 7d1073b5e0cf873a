// Scalar row operations and the dispatch table.
//
// Kernel naming: <operation>_<instruction set> in te_bitmap_kernels_<set>.cpp,
// each file compiled with its own -m flag and exporting one TteRowKernels table;
// only this file decides, once, which table runs.
#include "te_bitmap_kernels.h"

#include <cstring>

namespace te_kernels_scalar {

void Copy(TteColor* dst, const TteColor* src, int count) {
  for (int i = 0; i < count; ++i) dst[i] = src[i];
}

void KeyCopy(TteColor* dst, const TteColor* src, int count) {
  for (int i = 0; i < count; ++i)
    if (!IsKeyPixel(src[i])) dst[i] = src[i] | 0xFF000000u;
}

void Blend(TteColor* dst, const TteColor* src, int count) {
  for (int i = 0; i < count; ++i) dst[i] = BlendPixel(src[i], dst[i]);
}

}  // namespace te_kernels_scalar

const TteRowKernels& ScalarRowKernels() {
  static const TteRowKernels kTable{"scalar", te_kernels_scalar::Copy, te_kernels_scalar::KeyCopy,
                                    te_kernels_scalar::Blend};
  return kTable;
}

#if defined(__x86_64__) || defined(__i386__)
extern const TteRowKernels kRowKernelsSse2;
extern const TteRowKernels kRowKernelsAvx2;

const TteRowKernels* Sse2RowKernels() {
  return __builtin_cpu_supports("sse2") ? &kRowKernelsSse2 : nullptr;
}
const TteRowKernels* Avx2RowKernels() {
  return __builtin_cpu_supports("avx2") ? &kRowKernelsAvx2 : nullptr;
}
#else
const TteRowKernels* Sse2RowKernels() { return nullptr; }
const TteRowKernels* Avx2RowKernels() { return nullptr; }
#endif

const TteRowKernels& RowKernels() {
  static const TteRowKernels* chosen = [] {
    if (const TteRowKernels* k = Avx2RowKernels()) return k;
    if (const TteRowKernels* k = Sse2RowKernels()) return k;
    return &ScalarRowKernels();
  }();
  return *chosen;
}

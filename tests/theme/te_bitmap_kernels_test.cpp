// The row kernels: the blend rule itself, and every vector table against the scalar one.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "te_bitmap_kernels.h"

namespace {

std::vector<const TteRowKernels*> VectorTables() {
  std::vector<const TteRowKernels*> out;
  if (auto* k = Sse2RowKernels()) out.push_back(k);
  if (auto* k = Avx2RowKernels()) out.push_back(k);
  return out;
}

uint32_t Channel(TteColor c, int shift) { return (c >> shift) & 0xFF; }

}  // namespace

TEST(RowKernels, ScalarBlendIsTheExactFloorRuleOnEveryByte) {
  for (uint32_t a = 1; a < 255; ++a)
    for (uint32_t s = 0; s < 256; ++s)
      for (uint32_t d = 0; d < 256; ++d) {
        const TteColor src = a << 24 | s << 16 | (255 - s) << 8 | s;
        const TteColor dst = d << 24 | d << 16 | (255 - d) << 8 | d;
        const TteColor out = BlendPixel(src, dst);
        const auto rule = [a](uint32_t sc, uint32_t dc) {
          return uint32_t((256 * int(dc) + int(a) * (int(sc) - int(dc))) / 256);
        };
        ASSERT_EQ(Channel(out, 0), rule(s, d)) << "a=" << a << " s=" << s << " d=" << d;
        ASSERT_EQ(Channel(out, 8), rule(255 - s, 255 - d));
        ASSERT_EQ(Channel(out, 16), rule(s, d));
        ASSERT_EQ(Channel(out, 24), rule(a, d)) << "the alpha byte blends by the same rule";
      }
}

TEST(RowKernels, ScalarBlendTakesTheSourceWhenOpaqueAndKeepsTheTargetWhenClear) {
  EXPECT_EQ(BlendPixel(0xFF102030u, 0x80405060u), 0xFF102030u);
  EXPECT_EQ(BlendPixel(0x00FFFFFFu, 0x80405060u), 0x80405060u);
  EXPECT_EQ(BlendPixel(0x80FFFFFFu, 0xFF000000u), 0xBF7F7F7Fu);
}

TEST(RowKernels, VectorBlendEqualsScalarForEverySourceTargetAndAlpha) {
  const auto tables = VectorTables();
  if (tables.empty()) GTEST_SKIP() << "no vector instruction set on this processor";
  std::vector<TteColor> src(256), expect(256), got(256), target(256);
  for (uint32_t d = 0; d < 256; ++d) target[d] = d << 24 | (255 - d) << 16 | d << 8 | (d ^ 0x5A);
  for (uint32_t a = 0; a < 256; ++a)
    for (uint32_t s = 0; s < 256; ++s) {
      std::fill(src.begin(), src.end(), a << 24 | s << 16 | (s ^ 0xA5) << 8 | (255 - s));
      expect = target;
      ScalarRowKernels().Blend(expect.data(), src.data(), 256);
      for (const TteRowKernels* k : tables) {
        got = target;
        k->Blend(got.data(), src.data(), 256);
        ASSERT_EQ(got, expect) << k->Name << " a=" << a << " s=" << s;
      }
    }
}

TEST(RowKernels, VectorKernelsEqualScalarOnRandomRunsOfEveryLengthAndAlignment) {
  const auto tables = VectorTables();
  if (tables.empty()) GTEST_SKIP() << "no vector instruction set on this processor";
  std::mt19937 rng(20240611);
  // Runs mix the cases the kernels skip or special-case: clear, opaque, key, partial.
  auto pixel = [&rng]() -> TteColor {
    const uint32_t r = rng();
    switch (r % 5) {
      case 0: return r & 0x00FFFFFFu;
      case 1: return r | 0xFF000000u;
      case 2: return (r & 0xFF000000u) | 0x007F007Fu;
      default: return rng();
    }
  };
  struct Op {
    const char* name;
    TteRowOp TteRowKernels::*member;
  };
  const Op ops[] = {{"Copy", &TteRowKernels::Copy},
                    {"KeyCopy", &TteRowKernels::KeyCopy},
                    {"Blend", &TteRowKernels::Blend}};
  constexpr int kGuard = 8;
  for (int length = 0; length <= 67; ++length)
    for (int srcShift = 0; srcShift < 8; ++srcShift)
      for (int dstShift = 0; dstShift < 8; ++dstShift) {
        std::vector<TteColor> src(size_t(length + 2 * kGuard)), dst(src.size());
        for (auto& p : src) p = pixel();
        for (auto& p : dst) p = pixel();
        // Long runs of one kind, so that whole vector groups get skipped too.
        if (length > 16 && rng() % 2)
          std::fill(src.begin() + srcShift, src.begin() + srcShift + 16, pixel());
        for (const Op& op : ops) {
          std::vector<TteColor> expect = dst;
          (ScalarRowKernels().*op.member)(expect.data() + dstShift, src.data() + srcShift, length);
          for (const TteRowKernels* k : tables) {
            std::vector<TteColor> got = dst;
            (k->*op.member)(got.data() + dstShift, src.data() + srcShift, length);
            ASSERT_EQ(got, expect) << k->Name << " " << op.name << " length " << length
                                   << " shifts " << srcShift << "/" << dstShift;
          }
        }
      }
}

// Copy is d := s and key copy forces alpha 255, for a source pixel of alpha 0 too: the
// pixels of alpha 0 that leave the target alone are a blend's clear pixels and a key
// copy's key pixels. Every table, every alpha, runs long enough for whole vector groups
// (all clear, all key, all opaque) and tails, of one alpha and of mixed ones.
TEST(RowKernels, EveryTableFollowsTheRowRulesForEveryAlphaClearIncluded) {
  std::vector<const TteRowKernels*> tables = VectorTables();
  tables.insert(tables.begin(), &ScalarRowKernels());
  struct Op {
    const char* name;
    TteRowOp TteRowKernels::*member;
    TteColor (*rule)(TteColor s, TteColor d);
  };
  const Op ops[] = {
      {"Copy", &TteRowKernels::Copy, [](TteColor s, TteColor) { return s; }},
      {"KeyCopy", &TteRowKernels::KeyCopy,
       [](TteColor s, TteColor d) { return IsKeyPixel(s) ? d : s | 0xFF000000u; }},
      {"Blend", &TteRowKernels::Blend, [](TteColor s, TteColor d) { return BlendPixel(s, d); }},
  };
  const TteColor rgbs[] = {0x000000u, 0x123456u, 0x7F007Fu, 0x7F007Eu, 0xFFFFFFu};
  constexpr int kRun = 37;
  std::vector<TteColor> target(kRun);
  for (int i = 0; i < kRun; ++i) target[size_t(i)] = 0x80000000u | TteColor(i * 0x030507);
  for (uint32_t a = 0; a < 256; ++a) {
    std::vector<std::vector<TteColor>> runs;
    for (TteColor rgb : rgbs) runs.emplace_back(kRun, a << 24 | rgb);
    std::vector<TteColor> mixed(kRun);
    for (int i = 0; i < kRun; ++i)
      mixed[size_t(i)] = ((a + 7 * uint32_t(i)) & 0xFF) << 24 | rgbs[size_t(i) % std::size(rgbs)];
    runs.push_back(mixed);
    for (const auto& src : runs)
      for (const Op& op : ops) {
        std::vector<TteColor> expect(kRun);
        for (int i = 0; i < kRun; ++i)
          expect[size_t(i)] = op.rule(src[size_t(i)], target[size_t(i)]);
        for (const TteRowKernels* k : tables) {
          std::vector<TteColor> got = target;
          (k->*op.member)(got.data(), src.data(), kRun);
          ASSERT_EQ(got, expect) << k->Name << " " << op.name << " alpha " << a << " first source 0x"
                                 << std::hex << src[0];
        }
      }
  }
}

TEST(RowKernels, KeyCopySkipsKeyPixelsWhateverTheirAlphaAndMakesTheRestOpaque) {
  const TteColor src[] = {0x007F007Fu, 0xFF7F007Fu, 0x00102030u, 0x807F0080u};
  TteColor dst[] = {1, 2, 3, 4};
  ScalarRowKernels().KeyCopy(dst, src, 4);
  EXPECT_EQ(dst[0], 1u);
  EXPECT_EQ(dst[1], 2u);
  EXPECT_EQ(dst[2], 0xFF102030u);
  EXPECT_EQ(dst[3], 0xFF7F0080u);
}

// Bitmap operations against pixman's nearest equivalents on the same buffers; one line
// per case: <op> <size> ours=<Mpix/s> pixman=<Mpix/s> ratio=<ours/pixman>.
#include <pixman.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "te_bitmap.h"

namespace {

using Clock = std::chrono::steady_clock;

// Best of five rounds, each repeating op until it has run for at least 40 ms.
double MegapixelsPerSecond(const std::function<void()>& op, double pixelsPerCall) {
  double best = 0;
  for (int round = 0; round < 5; ++round) {
    long calls = 0;
    const auto start = Clock::now();
    double seconds = 0;
    do {
      op();
      ++calls;
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    } while (seconds < 0.04);
    best = std::max(best, calls * pixelsPerCall / seconds / 1e6);
  }
  return best;
}

void Report(const char* op, const std::string& size, double ours, double theirs) {
  std::printf("%s %s ours=%.1f pixman=%.1f ratio=%.2f\n", op, size.c_str(), ours, theirs,
              ours / theirs);
  std::fflush(stdout);
}

std::string SizeName(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

// A bitmap and a pixman image over the same kind of pixels; pixman wants its colour
// premultiplied, so the pixman copy of a blended source is premultiplied.
struct Surface {
  TteBitmap bitmap;
  pixman_image_t* image = nullptr;
  std::vector<uint32_t> pixmanBits;

  Surface(int w, int h, const std::function<TteColor(int, int)>& pixel, bool premultiply) {
    bitmap.SetSize(w, h);
    pixmanBits.resize(size_t(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const TteColor c = pixel(x, y);
        *bitmap.PixelPtr(x, y) = c;
        uint32_t p = c;
        if (premultiply) {
          const uint32_t a = c >> 24;
          auto m = [a](uint32_t v) { return (v * a + 127) / 255; };
          p = a << 24 | m((c >> 16) & 0xFF) << 16 | m((c >> 8) & 0xFF) << 8 | m(c & 0xFF);
        }
        pixmanBits[size_t(y) * w + x] = p;
      }
    image = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, pixmanBits.data(), w * 4);
  }
  ~Surface() { pixman_image_unref(image); }
};

// pixman's rate for compositing the w x h corner of src onto dst with op.
double PixmanRate(pixman_op_t op, const Surface& src, const Surface& dst, int w, int h) {
  return MegapixelsPerSecond(
      [&] { pixman_image_composite32(op, src.image, nullptr, dst.image, 0, 0, 0, 0, 0, 0, w, h); },
      double(w) * h);
}

void BenchBlend(std::mt19937& rng, int w, int h) {
  Surface src(w, h, [&](int, int) { return TteColor(rng()); }, true);
  src.bitmap.AlphaBlend = true;
  Surface dst(w, h, [&](int, int) { return TteColor(rng() | 0xFF000000u); }, false);
  const double ours = MegapixelsPerSecond([&] { src.bitmap.Draw(dst.bitmap, 0, 0); }, double(w) * h);
  const double theirs = PixmanRate(PIXMAN_OP_OVER, src, dst, w, h);
  Report("blend", SizeName(w, h), ours, theirs);
}

void BenchCopy(std::mt19937& rng, int w, int h, bool keyed) {
  // A keyed source has runs of key pixels, as a theme image's transparent corners do.
  Surface src(w, h, [&](int x, int) {
    return keyed && (x % 16) < 4 ? kTeColorKey : TteColor(rng() | 0xFF000000u);
  }, false);
  src.bitmap.Transparent = keyed;
  Surface dst(w, h, [](int, int) { return 0xFF000000u; }, false);
  const double ours = MegapixelsPerSecond([&] { src.bitmap.Draw(dst.bitmap, 0, 0); }, double(w) * h);
  const double theirs = PixmanRate(PIXMAN_OP_SRC, src, dst, w, h);
  Report(keyed ? "keycopy" : "copy", SizeName(w, h), ours, theirs);
}

void BenchStretch(std::mt19937& rng, int sw, int sh, int dw, int dh) {
  Surface src(sw, sh, [&](int, int) { return TteColor(rng() | 0xFF000000u); }, false);
  Surface dst(dw, dh, [](int, int) { return 0xFF000000u; }, false);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / dw),
                              pixman_double_to_fixed(double(sh) / dh));
  pixman_image_set_transform(src.image, &t);
  pixman_image_set_filter(src.image, PIXMAN_FILTER_NEAREST, nullptr, 0);
  const double ours = MegapixelsPerSecond(
      [&] { src.bitmap.Draw(dst.bitmap, TRect{0, 0, dw, dh}, src.bitmap.BoundsRect()); },
      double(dw) * dh);
  const double theirs = PixmanRate(PIXMAN_OP_SRC, src, dst, dw, dh);
  Report("stretch", SizeName(sw, sh) + "->" + SizeName(dw, dh), ours, theirs);
}

void BenchTile(std::mt19937& rng, int tw, int th, int dw, int dh) {
  Surface tile(tw, th, [&](int, int) { return TteColor(rng() | 0xFF000000u); }, false);
  Surface dst(dw, dh, [](int, int) { return 0xFF000000u; }, false);
  pixman_image_set_repeat(tile.image, PIXMAN_REPEAT_NORMAL);
  TCanvas& canvas = dst.bitmap.Canvas();
  const double ours = MegapixelsPerSecond(
      [&] { tile.bitmap.Tile(canvas, TRect{0, 0, dw, dh}, tile.bitmap.BoundsRect()); },
      double(dw) * dh);
  const double theirs = PixmanRate(PIXMAN_OP_SRC, tile, dst, dw, dh);
  Report("tile", SizeName(tw, th) + "->" + SizeName(dw, dh), ours, theirs);
}

}  // namespace

int main() {
  std::printf("# row kernels: %s\n", RowKernels().Name);
  std::mt19937 rng(42);
  const std::pair<int, int> sizes[] = {{64, 64}, {256, 256}, {1920, 1080}};
  for (auto [w, h] : sizes) BenchBlend(rng, w, h);
  for (auto [w, h] : sizes) BenchCopy(rng, w, h, false);
  for (auto [w, h] : sizes) BenchCopy(rng, w, h, true);
  BenchStretch(rng, 320, 240, 1920, 1080);
  BenchStretch(rng, 1920, 1080, 320, 240);
  BenchTile(rng, 25, 25, 1920, 1080);
  return 0;
}

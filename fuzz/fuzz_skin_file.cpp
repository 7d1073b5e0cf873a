// Feeds arbitrary bytes to the skin-file readers: as a stream (filter by signature), as
// the body of each of the four variants (packed here for the compressed ones), and to
// the component stream's binary and text forms. A skin that loads is laid out, painted,
// asked for its window shape and written back by every filter, and must read again.
#include <QBuffer>
#include <QGuiApplication>
#include <cstdint>

#include "se_source.h"
#include "te_compress.h"

namespace {

void EnsureApplication() {
  // Text is measured while laying out, and fonts need a GUI application.
  static int argc = 1;
  static char name[] = "fuzz_skin_file";
  static char* argv[] = {name, nullptr};
  if (!QGuiApplication::instance()) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
  }
}

void Exercise(TSeSkinSource& skin) {
  TteBitmap canvas;
  canvas.SetSize(64, 48);
  for (const auto& root : skin.Objects) {
    root->SetState(5);
    root->SetButtons(0xFFFF);
    root->SetBounds({0, 0, 64, 48});
    root->Paint(canvas.Canvas(), {});
    (void)root->Region();
    (void)root->HitTest({10, 10});
  }
  for (const TSeSkinFilterClass* filter : SkinFilters()) {
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    try {
      skin.SaveToStream(out, *filter);
    } catch (const std::exception&) {
      continue;  // more images than the binary layout holds
    }
    out.seek(0);
    TSeSkinSource back;
    back.LoadFromStream(out, TSeSkinFilterUncompressed::Class());
    if (back.ObjectCount() != skin.ObjectCount() || back.Bitmaps.Count() != skin.Bitmaps.Count())
      __builtin_trap();
  }
}

void Load(QByteArray bytes, const TSeSkinFilterClass* filter) {
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  TSeSkinSource skin;
  try {
    skin.LoadFromStream(in, filter ? *filter : TSeSkinFilterCompressed::Class());
  } catch (const std::exception&) {
    return;
  }
  Exercise(skin);
}

QByteArray Packed(const QByteArray& signature, const QByteArray& body) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  out.write(signature + "OVLZ");
  TCompressionStream z(kclFastest, out);
  z.open(QIODevice::WriteOnly);
  z.write(body);
  z.Finish();
  return out.data();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnsureApplication();
  if (size == 0) return 0;
  const uint8_t mode = data[0] % 7;
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  switch (mode) {
    case 0: Load(bytes, nullptr); break;
    case 1: Load(QByteArray("_UCT\0", 5) + bytes, nullptr); break;
    case 2: Load(Packed(QByteArray("_DCT\0", 5), bytes), nullptr); break;
    case 3: Load(Packed(QByteArray("_TCT\0", 5), bytes), nullptr); break;
    case 4: Load(Packed(QByteArray("_MCT\0", 5), bytes), nullptr); break;
    case 5:
    case 6: {
      TSeReadLimits limits;
      try {
        std::unique_ptr<TSeSkinObject> o =
            ReadSkinObject("TSeButtonBitmapBoxObject", bytes, mode == 5, nullptr, limits);
        if (o) {
          TteBitmap canvas;
          canvas.SetSize(32, 32);
          o->SetBounds({0, 0, 32, 32});
          o->Paint(canvas.Canvas(), {});
          (void)ReadComponentText(WriteComponentText(o->ToComponent()));
        }
      } catch (const std::exception&) {
      }
      break;
    }
  }
  return 0;
}

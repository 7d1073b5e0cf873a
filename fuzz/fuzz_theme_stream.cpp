// Feeds arbitrary bytes to the stored-theme readers: as a "ThemeStream" payload, as a
// packed stream, and (compressed here) as the body of a packed stream. Whatever loads
// must save and load back to the same body.
#include <QBuffer>
#include <cstdint>

#include "app_error.h"
#include "te_compress.h"
#include "te_engine.h"
#include "theme_manager.h"
#include "theme_msux.h"

namespace {

const TteThemeManager& Manager() {
  // The manager registers the packed theme class itself.
  static TteThemeManager* manager = new TteThemeManager;
  return *manager;
}

QByteArray Save(const TTeThemeMsStyles& theme) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  theme.SaveToStream(out);
  return out.data();
}

void LoadPacked(QByteArray bytes) {
  TTeThemeMsStyles theme;
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  try {
    theme.LoadFromStream(in);
  } catch (const EAppError&) {
    return;
  }
  const QByteArray saved = Save(theme);
  TTeThemeMsStyles again;
  QByteArray copy = saved;
  QBuffer in2(&copy);
  in2.open(QIODevice::ReadOnly);
  again.LoadFromStream(in2);
  if (Save(again) != saved) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  {
    TTeThemeStream item;
    QByteArray copy = bytes;
    QBuffer in(&copy);
    in.open(QIODevice::ReadOnly);
    try {
      item.ReadThemeStream(in, Manager());
      std::unique_ptr<TteTheme> theme = item.CreateTheme(Manager());
    } catch (const EAppError&) {
    }
  }
  LoadPacked(TTeThemeMsStyles::Magic() + bytes);
  QBuffer packed;
  packed.open(QIODevice::WriteOnly);
  packed.write(TTeThemeMsStyles::Magic());
  {
    TCompressionStream z(kclFastest, packed);
    z.write(bytes);
    z.Finish();
  }
  LoadPacked(packed.data());
  return 0;
}

// Feeds arbitrary bytes to the resource-library readers: the module reader and its
// lookups, the name lists and the bitmap decoder on whatever is found, the bitmap
// decoder on the bytes themselves, and a whole theme load from a file holding them.
#include <QTemporaryFile>
#include <cstdint>

#include "app_error.h"
#include "pe_resources.h"
#include "theme_msux.h"

namespace {

// One file for the whole run, rewritten for each input: a theme library is read from
// a file by name.
QTemporaryFile& LibraryFile() {
  static QTemporaryFile* file = [] {
    auto* f = new QTemporaryFile(QStringLiteral("/tmp/fuzz_pe_XXXXXX.msstyles"));
    if (!f->open()) __builtin_trap();
    return f;
  }();
  return *file;
}

void Decode(QByteArrayView data) {
  TteBitmap bitmap;
  try {
    bitmap.LoadFromDib(data);
  } catch (const EAppError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  Decode(bytes);

  TPeResourceReader reader;
  if (!reader.OpenData(bytes)) return 0;
  const std::pair<TPeResourceId, TPeResourceId> lookups[] = {
      {kRtBitmap, 1},      {kRtBitmap, "A"},           {"COLORNAMES", 1},
      {"FILERESNAMES", 1}, {"TEXTFILE", "NORMAL_INI"},
  };
  for (const auto& [type, name] : lookups) {
    const std::optional<QByteArrayView> found = reader.Find(type, name);
    if (!found) continue;
    if (found->size() > bytes.size()) __builtin_trap();
    ReadResourceStrings(*found);
    Decode(*found);
  }

  QTemporaryFile& file = LibraryFile();
  if (!file.resize(0) || !file.seek(0) || file.write(bytes) != bytes.size() || !file.flush())
    __builtin_trap();
  // One theme for the whole run: building a fresh one for each input would cost more
  // than the load itself, and a load must cope with whatever the last one left.
  static TTeThemeMsStyles* theme = new TTeThemeMsStyles;
  try {
    theme->LoadFromFile(file.fileName());
  } catch (const EAppError&) {
  }
  return 0;
}

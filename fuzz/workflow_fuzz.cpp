// libFuzzer target for the workflow's readers of outside bytes: transcoder
// output (in arbitrary chunks), list files, settings text and the version
// section. None may crash, hang or allocate without bound.
#include <QByteArray>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

#include "ini_file.h"
#include "list_file.h"
#include "output_parser.h"
#include "version_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

  // Output parser: the first byte chooses the chunk size.
  TMediaFacts facts;
  TEncoderOutputParser parser;
  const qsizetype chunk = size ? 1 + data[0] % 64 : 1;
  for (qsizetype at = 1; at < bytes.size(); at += chunk) {
    const QByteArray part = bytes.mid(at, chunk);
    parser.Feed(TEncoderOutputParser::Stream(at / chunk % 2), part.constData(), unsigned(part.size()), facts,
                [](double p) {
                  if (!(p >= 0 && p <= 100)) __builtin_trap();
                });
  }
  parser.Flush(facts, [](double) {});

  ParseVersionBlock(bytes);

  QTemporaryFile file;
  if (file.open()) {
    file.write(bytes);
    file.flush();
    ReadFileList(file.fileName(), [](const QString&) { return true; });
    TIniFile ini(file.fileName());
    ini.ReadInteger("Common", "nNaming", 0);
    ReadVersionResource(file.fileName());
  }
  return 0;
}

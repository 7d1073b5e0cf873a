// TIniFile over SimpleIni.
#include "ini_file.h"

#include <QFile>
#include <QSaveFile>
// Bytes in, bytes out: names and values are UTF-8 and need no conversion.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <string>

#include "app_error.h"
#include "file_names.h"

namespace {

// Settings files are small; a file larger than this is not a settings file.
constexpr qint64 kMaxIniBytes = 4 * 1024 * 1024;

bool LoadIni(const QString& fileName, CSimpleIniA& ini) {
  ini.SetUnicode(false);
  ini.SetMultiKey(false);
  // key=value, as the file's other readers and writers write it; reading
  // takes blanks around "=" as well.
  ini.SetSpaces(false);
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly)) return false;
  if (f.size() > kMaxIniBytes) return false;
  const QByteArray bytes = f.readAll();
  return ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size())) >= 0;
}

}  // namespace

TIniFile::TIniFile(QString fileName) : fileName_(std::move(fileName)) {}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  CSimpleIniA ini;
  if (!LoadIni(fileName_, ini)) return def;
  const char* v = ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
  if (!v) return def;
  // Values are file names among others: kept as their bytes, reversibly.
  return DecodeFileName(QByteArray(v));
}

bool ParseIniInteger(const QString& text, int& value) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return false;
  bool ok = false;
  const qlonglong v = t.toLongLong(&ok, 10);
  if (!ok || v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
  int v = def;
  if (!ParseIniInteger(ReadString(section, key, QString()), v)) return def;
  return v;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  CSimpleIniA ini;
  LoadIni(fileName_, ini);  // a missing or unreadable file starts empty
  ini.SetValue(section.toUtf8().constData(), key.toUtf8().constData(), EncodeFileName(value).constData());
  std::string out;
  if (ini.Save(out) < 0) throw EAppError(QStringLiteral("Cannot write ") + fileName_);
  // Written to a temporary and renamed, so a full disk never leaves half a file.
  QSaveFile f(fileName_);
  if (!f.open(QIODevice::WriteOnly) || f.write(out.data(), qint64(out.size())) != qint64(out.size()) ||
      !f.commit())
    throw EAppError(QStringLiteral("Cannot write ") + fileName_);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

// Version information reader over the program's own version section.
#include "file_version_info.h"

#include <QMimeDatabase>

#include "version_resource.h"

QString FileTypeText(quint32 type, quint32 subtype) {
  static const char* const drivers[] = {"Unknown Driver",  "Printer Driver", "Keyboard Driver",   "Language Driver",
                                        "Display Driver",  "Mouse Driver",   "Network Driver",    "System Driver",
                                        "InstallableDriver", "Sound Driver", "Communications Driver"};
  static const char* const fonts[] = {"Unknown Font", "Raster Font", "Vector Font", "Truetype Font"};
  switch (type) {
    case 0: return QStringLiteral("Unknown");
    case 1: return QStringLiteral("Application");
    case 2: return QStringLiteral("DLL");
    case 3: return subtype <= 10 ? QString::fromLatin1(drivers[subtype]) : QString();
    case 4: return subtype <= 3 ? QString::fromLatin1(fonts[subtype]) : QString();
    case 5:
      return QStringLiteral("Virtual Defice Identifier = ") +
             QStringLiteral("%1").arg(subtype, 8, 16, QLatin1Char('0')).toUpper();
    case 7: return QStringLiteral("Static-link Library");
    default: return QString();
  }
}

void GetFileVersionRecord(const QString& path, TFileVersionInfo& info) {
  info = TFileVersionInfo();
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(path);
  if (mime.isValid()) info.ShellTypeName = mime.comment().left(80);

  if (!IsExecutableFile(path)) return;
  const std::optional<TVersionResource> res = ReadVersionResource(path);
  if (!res) return;

  struct Field {
    const char* key;
    QString TFileVersionInfo::*field;
  };
  static const Field fields[] = {
      {"CompanyName", &TFileVersionInfo::CompanyName},         {"FileDescription", &TFileVersionInfo::FileDescription},
      {"FileVersion", &TFileVersionInfo::FileVersion},         {"InternalName", &TFileVersionInfo::InternalName},
      {"LegalCopyRight", &TFileVersionInfo::LegalCopyright},   {"LegalTradeMarks", &TFileVersionInfo::LegalTrademarks},
      {"OriginalFileName", &TFileVersionInfo::OriginalFilename}, {"ProductName", &TFileVersionInfo::ProductName},
      {"ProductVersion", &TFileVersionInfo::ProductVersion},   {"Comments", &TFileVersionInfo::Comments},
      {"SpecialBuild", &TFileVersionInfo::SpecialBuild},       {"PrivateBuild", &TFileVersionInfo::PrivateBuild},
  };
  for (const Field& f : fields)
    if (auto v = res->FindString(QLatin1String(f.key))) info.*(f.field) = *v;

  if (!res->HasFixedInfo) return;
  const quint32 flags = res->FileFlags & res->FileFlagsMask;
  info.IsDebug = flags & 0x1;
  info.IsPreRelease = flags & 0x2;
  info.IsSpecialBuild = flags & 0x20;
  info.IsPrivateBuild = flags & 0x8;
  info.IsPatched = flags & 0x4;
  info.IsInfoInferred = flags & 0x10;
  info.FileTypeText = FileTypeText(res->FileType, res->FileSubtype);
}

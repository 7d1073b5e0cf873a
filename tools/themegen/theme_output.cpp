// The generator's output: theme.ini and the PNG images, with the see-through pixels of
// each image put in the form the theme reads (alpha channel or colour key).
#include "theme_output.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstdlib>

namespace {

// The theme keys pixels of this colour (give or take 5 per channel) in every image
// it loads as opaque; it is the default TransparentColor of every section.
constexpr QRgb kKey = 0xFFFF00FF;

bool NearKey(QRgb p) {
  return std::abs(qRed(p) - 255) <= 5 && qGreen(p) <= 5 && std::abs(qBlue(p) - 255) <= 5;
}

// Less than half covered becomes the key, anything else opaque in its own colour.
QImage ToKeyed(const QImage& argb) {
  QImage out(argb.size(), QImage::Format_RGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const auto* s = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < argb.width(); ++x) d[x] = qAlpha(s[x]) < 128 ? kKey : (s[x] | 0xFF000000u);
  }
  return out;
}

}  // namespace

ThemeOutput::Section& ThemeOutput::Section::Set(const QString& key, const QString& value) {
  for (auto& [k, v] : keys_)
    if (k.compare(key, Qt::CaseInsensitive) == 0) {
      v = value;
      return *this;
    }
  keys_.emplace_back(key, value);
  return *this;
}

ThemeOutput::Section& ThemeOutput::Section::Set(const QString& key, const QColor& color) {
  return Set(key, QStringLiteral("%1 %2 %3").arg(color.red()).arg(color.green()).arg(color.blue()));
}

ThemeOutput::Section& ThemeOutput::AddSection(const QString& name) {
  for (Section& s : sections_)
    if (s.Name().compare(name, Qt::CaseInsensitive) == 0) return s;
  return sections_.emplace_back(name);
}

QString ThemeOutput::AddImage(const QString& fileName, const QImage& image, ImageKind kind) {
  static const QRegularExpression plain(QStringLiteral("^[a-z0-9_]+\\.png$"));
  if (!plain.match(fileName).hasMatch())
    throw DesignError("image name \"" + fileName.toStdString() + "\" is not a plain lower-case .png name");
  for (const Image& i : images_)
    if (i.FileName == fileName) throw DesignError("image \"" + fileName.toStdString() + "\" drawn twice");
  if (image.isNull()) throw DesignError("image \"" + fileName.toStdString() + "\" is empty");

  QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  bool clear = false, partial = false;
  for (int y = 0; y < argb.height(); ++y) {
    auto* p = reinterpret_cast<QRgb*>(argb.scanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      const int a = qAlpha(p[x]);
      if (a == 0) {
        p[x] = 0;  // no stray colour under clear pixels
        clear = true;
        continue;
      }
      partial |= a < 255;
      if (NearKey(p[x]) && (kind == ImageKind::Alpha || a >= 128))
        throw DesignError("image \"" + fileName.toStdString() + "\" uses the key colour");
    }
  }
  QImage out;
  if (kind == ImageKind::Keyed || (clear && !partial)) {
    // An alpha image whose pixels are all clear or opaque would load as opaque (the
    // theme blends only images with soft pixels): its clear pixels become the key.
    out = ToKeyed(argb);
  } else if (!clear && !partial) {
    out = argb.convertToFormat(QImage::Format_RGB32);
  } else {
    out = argb;
  }
  images_.push_back({fileName, out});
  return fileName;
}

void ThemeOutput::Write(const QString& dir, const QString& sourceName) const {
  if (!QDir().mkpath(dir)) throw DesignError("cannot make " + dir.toStdString());
  QString text = QStringLiteral("; Made by sonolift-themegen from %1: change that file and regenerate.\n")
                     .arg(sourceName);
  for (const Section& s : sections_) {
    text += QStringLiteral("\n[") + s.Name() + QStringLiteral("]\n");
    for (const auto& [k, v] : s.Keys()) text += k + QLatin1Char('=') + v + QLatin1Char('\n');
  }
  QFile ini(QDir(dir).filePath(QStringLiteral("theme.ini")));
  const QByteArray bytes = text.toLatin1();
  if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate) || ini.write(bytes) != bytes.size())
    throw DesignError("cannot write " + ini.fileName().toStdString());
  for (const Image& i : images_) {
    const QString path = QDir(dir).filePath(i.FileName);
    if (!i.Pixels.save(path, "PNG")) throw DesignError("cannot write " + path.toStdString());
  }
}

QString Margins(int left, int right, int top, int bottom) {
  return QStringLiteral("%1, %2, %3, %4").arg(left).arg(right).arg(top).arg(bottom);
}

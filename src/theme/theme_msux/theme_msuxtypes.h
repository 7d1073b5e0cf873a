// The vocabulary of packed visual-style themes: the in-memory INI, the tokenizers and
// value parsers of its keys, and the image names made from its image file names.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <utility>
#include <vector>

#include "sys_colors.h"

// Ordered sections of ordered key=value entries; section and key names match without
// regard to case, and of a key given twice the first entry is the one read.
class TmsuxIni {
 public:
  struct Section {
    QString Name;
    std::vector<std::pair<QString, QString>> Entries;
  };

  // "[name]" lines open sections, "key=value" lines add entries (both trimmed);
  // blank lines, comments (";" first) and lines before the first section are dropped.
  void SetText(const QString& text);
  // Each section as "[name]", its entries as key=value, then an empty line; every
  // line ends with CR LF.
  QString Text() const;
  void Clear() { sections_.clear(); }
  bool IsEmpty() const { return sections_.empty(); }

  const std::vector<Section>& Sections() const { return sections_; }
  // Null when absent.
  const Section* FindSection(const QString& name) const;
  bool SectionExists(const QString& name) const { return FindSection(name) != nullptr; }
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // Replaces the first entry of key or appends one (making the section when needed).
  void WriteString(const QString& section, const QString& key, const QString& value);

 private:
  std::vector<Section> sections_;
};

// Tokenizers: take the trimmed front of s up to the first delimiter, consume the
// delimiter and leave the trimmed rest in s. NextWord stops at any of " (),:;=",
// NextField at ",".
QString NextWord(QString& s);
QString NextField(QString& s);

// Value syntaxes. None of them raises: a malformed number falls back as stated, so a
// theme with one bad value still builds completely.
bool ParseBool(const QString& value);
// Whole decimal number (optional sign); def when malformed or out of 32 bits.
int32_t ParseInt(const QString& value, int32_t def);
// "red green blue": a missing or malformed word counts as 0, each clamped to 0..255.
TColor ParseColor(const QString& value);

struct TmsuxMargins {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TmsuxMargins&, const TmsuxMargins&) = default;
};
// Words in the order left, right, top, bottom; any malformed or missing word makes
// all four 0.
TmsuxMargins ParseMargins(const QString& value);

struct TmsuxPoint {
  int32_t X = 0, Y = 0;
  friend bool operator==(const TmsuxPoint&, const TmsuxPoint&) = default;
};
// "x, y"; a malformed or missing word gives (0, 0).
TmsuxPoint ParsePoint(const QString& value);

enum TmsuxBgType : uint8_t { kbtUnset = 0, kbtBorderFill = 1, kbtImageFile = 2, kbtNone = 3 };
enum TmsuxSizingType : uint8_t {
  kstTile = 0, kstStretch = 1, kstTileVertical = 2, kstTileHorizontal = 3, kstTrueSize = 4,
  kstBorderTileClientStretch = 5, kstBorderStretchClientTile = 6,
};
enum TmsuxImageSelectType : uint8_t { kistNone = 0, kistDpi = 1, kistSize = 2 };
enum TmsuxImageTransparency : uint8_t { kitOpaque = 0, kitTransparent = 3 };
enum TmsuxContentAlignment : uint8_t { kcaLeft = 0, kcaCenter = 1, kcaRight = 2 };
enum TmsuxTextShadowType : uint8_t { ktstNone = 0, ktstSingle = 1, ktstContinuous = 2 };

TmsuxBgType ParseBgType(const QString& value);
TmsuxSizingType ParseSizingType(const QString& value);
// True (horizontal) only for "horizontal".
bool ParseImageLayoutHorizontal(const QString& value);
// Decided by the first word.
TmsuxImageSelectType ParseImageSelectType(const QString& value);
// True for "imageglyph".
bool ParseGlyphTypeImage(const QString& value);
TmsuxContentAlignment ParseContentAlignment(const QString& value);
TmsuxTextShadowType ParseTextShadowType(const QString& value);

// "Face, size[, bold][, italic][, underline][, strikeout]": the third to sixth pieces
// switch their style on by position whenever they are not empty, whatever they say.
struct TmsuxFont {
  QString Face;
  int32_t Size = 8;
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  friend bool operator==(const TmsuxFont&, const TmsuxFont&) = default;
};
// A missing or malformed size keeps def's size; a missing face keeps def's face.
TmsuxFont ParseFont(const QString& value, const TmsuxFont& def = {QStringLiteral("Tahoma")});

// The image name of an INI image file name: backslashes become "_", and so does a "."
// followed by B or b and at least one more character; the result is trimmed
// (Blue\button.bmp gives Blue_button_bmp, matched without case).
QString ImageFileToName(const QString& fileName);

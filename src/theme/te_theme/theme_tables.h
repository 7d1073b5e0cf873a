// The palette and typography every theme owns: 22 named colours, the system-colour
// substitutes and 66 named fonts, with their stream forms and text conversions.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "canvas.h"
#include "sys_colors.h"

class QIODevice;
class TteTheme;

// Colour <-> text: a colour-constant name when the value has one ("clBtnFace",
// "clRed"), otherwise "$" and eight hex digits. Text to colour accepts the names
// (without regard to case), "$hex", "0xhex" and decimal; anything else raises
// EAppError with the conversion message.
QString ColorToString(TColor color);
TColor StringToColor(const QString& text);

// Fonts are sized in points at 96 dots per inch whatever the screen says, so that
// a theme measures the same everywhere.
inline constexpr int kThemeFontDpi = 96;
void SetFontSize(TFont& font, int points);
int FontSize(const TFont& font);
// A font in the construction state: face "Tahoma", 8 points, clWindowText, plain.
TFont DefaultThemeFont();

// The font description "Face,Size,Charset,R,G,B[,bold][,italic][,underline][,strikeout]".
QString FontToDescription(const TFont& font);
// Missing fields take the construction defaults; a size or colour field that is not a
// number raises EAppError.
void FontFromDescription(TFont& font, const QString& description);

// Stream strings: a 32-bit little-endian byte count, then that many 8-bit bytes.
// A count beyond what the stream holds raises EAppError("Stream read error").
void WriteStreamString(QIODevice& stream, const QByteArray& text);
QByteArray ReadStreamString(QIODevice& stream);

enum TteColorIndex : int {
  kcCaptionNormal, kcCaptionInactive, kcWindowBorder, kcWindow, kcBorder, kcPanelNormal,
  kcPanelDisabled, kcButtonNormal, kcButtonHot, kcButtonPressed, kcButtonFocused,
  kcButtonDisabled, kcEditNormal, kcEditHot, kcEditFocused, kcEditDisabled, kcEditSelection,
  kcHint, kcList, kcTree, kcGrid, kcBarDock,
};
inline constexpr int kThemeColorCount = 22;
const char* ThemeColorName(int index);

class TteThemeColors {
 public:
  explicit TteThemeColors(TteTheme* theme = nullptr) : theme_(theme) {}
  TteTheme* Theme() const { return theme_; }

  // Index 0-21; outside the range GetColor answers clNone and SetColor does nothing.
  TColor GetColor(int index) const;
  void SetColor(int index, TColor color);
  void Assign(const TteThemeColors& source);
  // Nothing when delta is 0; otherwise system colours are resolved to plain RGB.
  // Shifts change only the current values: RestoreUnshifted puts back what was set,
  // read or assigned last, so a colour no reset refills (Border) is not shifted twice.
  void ApplyHue(int delta);
  void ApplyBrightness(int delta);
  void RestoreUnshifted() { colors_ = unshifted_; }
  // The source's colours as they were before any shift.
  void AssignUnshifted(const TteThemeColors& source) { colors_ = unshifted_ = source.unshifted_; }
  void ReadFromStream(QIODevice& stream);
  void WriteToStream(QIODevice& stream) const;

 private:
  TteTheme* theme_;
  std::array<TColor, kThemeColorCount> colors_{};
  std::array<TColor, kThemeColorCount> unshifted_{};
};

inline constexpr int kThemeSysColorCount = 26;  // entries that carry a substitute
inline constexpr int kThemeSysColorTableSize = 27;
struct TteSysColorEntry {
  TColor Constant;
  const char* Name;
};
const TteSysColorEntry& ThemeSysColorEntry(int index);

class TteThemeSysColors {
 public:
  // Every substitute starts as the classic value of its constant.
  explicit TteThemeSysColors(TteTheme* theme = nullptr);
  TteTheme* Theme() const { return theme_; }

  // First entry 0-25 with this constant; clNone for any other value.
  TColor GetSysColor(TColor constant) const;
  void SetSysColor(TColor constant, TColor color);
  TColor Substitute(int index) const;
  void Assign(const TteThemeSysColors& source);
  // Shifts work on the current values; RestoreUnshifted puts back what was set, read
  // or assigned last, so that a reset shifts from there and shifts never add up.
  void ApplyHue(int delta);
  void ApplyBrightness(int delta);
  void RestoreUnshifted() { current_ = unshifted_; }
  void ReadFromStream(QIODevice& stream);
  void WriteToStream(QIODevice& stream) const;

 private:
  int IndexOf(TColor constant) const;
  TteTheme* theme_;
  std::array<TColor, kThemeSysColorCount> current_{};
  std::array<TColor, kThemeSysColorCount> unshifted_{};
};

enum TteFontIndex : int {
  kfCaptionTextNormal, kfCaptionTextInactive, kfSmCaptionTextNormal, kfSmCaptionTextInactive,
  kfStaticTextNormal, kfStaticTextHot, kfStaticTextFocused, kfStaticTextDisabled,
  kfPanelTextNormal, kfPanelTextDisabled, kfButtonTextNormal, kfButtonTextPressed,
  kfButtonTextHot, kfButtonTextFocused, kfButtonTextDisabled, kfCheckBoxTextNormal,
  kfCheckBoxTextPressed, kfCheckBoxTextHot, kfCheckBoxTextFocused, kfCheckBoxTextDisabled,
  kfRadioButtonTextNormal, kfRadioButtonTextPressed, kfRadioButtonTextHot,
  kfRadioButtonTextFocused, kfRadioButtonTextDisabled, kfGroupBoxTextNormal,
  kfGroupBoxTextDisabled, kfWindowTextNormal, kfWindowTextDisabled, kfEditBoxTextNormal,
  kfEditBoxTextFocused, kfEditBoxTextHot, kfEditBoxTextDisabled, kfEditBoxTextSelected,
  kfMenuItemTextNormal, kfMenuItemTextSelected, kfMenuItemTextHot, kfMenuItemTextDisabled,
  kfToolItemTextNormal, kfToolItemTextSelected, kfToolItemTextHot, kfToolItemTextDisabled,
  kfHeaderSectionTextNormal, kfHeaderSectionTextPressed, kfHeaderSectionTextDraggedOut,
  kfHeaderSectionTextDragging, kfHeaderSectionTextHot, kfHeaderSectionTextUnderDrag,
  kfHeaderSectionTextDisabled, kfStatusPanelTextNormal, kfStatusPanelTextDisabled,
  kfTabTextInactiveNormal, kfTabTextInactiveHot, kfTabTextInactiveDisabled,
  kfTabTextActiveNormal, kfTabTextActiveHot, kfTabTextActiveDisabled, kfListItemTextNormal,
  kfListItemTextHot, kfListItemTextSelected, kfListItemTextFocused, kfListItemTextDisabled,
  kfPopupMenuItemTextNormal, kfPopupMenuItemTextSelected, kfPopupMenuItemTextHot,
  kfPopupMenuItemTextDisabled,
};
inline constexpr int kThemeFontCount = 66;
const char* ThemeFontName(int index);

class TteThemeFonts {
 public:
  explicit TteThemeFonts(TteTheme* theme = nullptr);
  TteTheme* Theme() const { return theme_; }

  // The table's own font (not a copy); index is clamped to 0-65.
  TFont& GetFont(int index);
  const TFont& GetFont(int index) const;
  // The font the theme uses for index when drawing objectName; for another object
  // than "default" the answer is a scratch font valid until the next call.
  const TFont& GetObjectFont(int index, const QString& objectName);
  void Assign(const TteThemeFonts& source);
  // Applied also when delta is 0, so that afterwards every font colour is plain RGB.
  void ApplyHue(int delta);
  void ApplyBrightness(int delta);
  // A reset fills only some fonts; the others would keep the last shift and shift
  // again. So a reset first puts back the colours kept here, fills its defaults, keeps
  // the result and only then shifts. Assign and ReadFromStream keep what they set.
  void RestoreUnshiftedColors();
  void KeepUnshiftedColors();
  // The source's fonts with the colours they had before any shift.
  void AssignUnshifted(const TteThemeFonts& source);
  void ReadFromStream(QIODevice& stream);
  void WriteToStream(QIODevice& stream) const;

 private:
  TteTheme* theme_;
  std::array<TFont, kThemeFontCount> fonts_;
  std::array<TColor, kThemeFontCount> unshifted_{};
  TFont scratch_;
};

struct TteThemeOptions {
  bool EditButtonsShareObject = false;  // one object serves kescEditButtonLeft/Right/Both
  bool ComboButtonsShareObject = false;  // one object serves kescComboBoxLeft/Right
  void Assign(const TteThemeOptions& source) { *this = source; }
};

// Names compare without regard to case; "default" names the standard object.
bool IsDefaultObject(const QString& objectName);

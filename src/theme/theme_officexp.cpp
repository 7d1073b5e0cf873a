// The OfficeXP theme: the flat theme's drawing with its own palette, fonts and menu strip.
#include "theme_officexp.h"

namespace {

constexpr TColor kWhite = 0xFFFFFF, kBlack = 0x000000, kGrey = 0x808080, kSilver = 0xC0C0C0;
constexpr TColor kBtnFace = TColor(0xFF00000F), kHighlight = TColor(0xFF00000D);

// Built in like the flat theme, so the flat theme's configuration serves.
const TteThemeClass kOfficeXPClass = {
    "TTeOfficeXPTheme", &TTeOfficeXPTheme::GetThemeKindName, &TTeFlatTheme::GetThemeConfig,
    &TteTheme::IsThemeStream, &TTeOfficeXPTheme::Create,
};

}  // namespace

TTeOfficeXPTheme::TTeOfficeXPTheme() {
  MenuStripWidth = 21;
  // The flat constructor filled the tables as a flat theme; now they take this palette,
  // and the fonts this theme leaves alone (4-9, ...) keep the flat values.
  ResetTheme();
}

const TteThemeClass& TTeOfficeXPTheme::ThemeClass() { return kOfficeXPClass; }
std::unique_ptr<TteTheme> TTeOfficeXPTheme::Create() {
  return std::make_unique<TTeOfficeXPTheme>();
}
QString TTeOfficeXPTheme::GetThemeKindName() { return QStringLiteral("OfficeXP"); }

void TTeOfficeXPTheme::SetDefaultColors() {
  static const std::vector<ColorDefault> kTable = {
      {{kcCaptionNormal}, 0xFF0000},
      {{kcCaptionInactive, kcWindow, kcButtonNormal, kcButtonDisabled, kcPanelNormal,
        kcPanelDisabled},
       kBtnFace},
      {{kcWindowBorder}, kGrey},
      {{kcBorder}, kHighlight},
      {{kcButtonHot}, 0xD2BDB6},
      {{kcButtonPressed, kcButtonFocused, kcEditSelection}, 0xB59285},
      {{kcEditNormal, kcEditHot, kcEditFocused, kcEditDisabled, kcList, kcTree, kcGrid}, kWhite},
  };
  FillColors(kTable, true);
}

void TTeOfficeXPTheme::SetDefaultFonts() {
  static const std::vector<FontDefault> kTable = {
      {{kfCaptionTextNormal}, 10, kWhite, true},
      {{kfCaptionTextInactive}, 10, kSilver, true},
      {{kfSmCaptionTextNormal}, 8, kWhite, true},
      {{kfSmCaptionTextInactive}, 8, kSilver, true},
      {{10, 11, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 42, 43,
        44, 45, 46, 47, 48},
       8, kBlack, false},
      {{14, 32, 37, 41, 65}, 8, kGrey, false},
      {{kfEditBoxTextSelected}, 8, kWhite, false},
  };
  FillFonts(kTable);
}

bool TTeOfficeXPTheme::HasWindow(uint8_t, const QString&) { return false; }

// The records a control hands to a theme (rectangle plus state bytes), their
// builders, and the enumerations and codes carried in them.
#pragma once

#include <QString>
#include <cstdint>

#include "rect.h"
#include "sys_colors.h"

class TteBitmap;
class QImage;

// Capability description of a theme class.
struct TteThemeConfig {
  bool BuiltIn = false;
  bool CanSave = false;
  bool CanLoad = false;
  QString Filter;     // "description|pattern|description|pattern"
  QString Extension;  // without the dot
};

// Position of text inside its rectangle.
enum TteTextAlignment : uint8_t {
  ktaTopLeft = 0, ktaMiddleLeft = 1, ktaBottomLeft = 2,
  ktaTopCenter = 3, ktaCenter = 4, ktaBottomCenter = 5,
  ktaTopRight = 6, ktaMiddleRight = 7, ktaBottomRight = 8,
};

// Bits of TteTextInfo::Options (bit 0 is unused).
enum TteTextOption : uint8_t {
  ktoRtlReading = 1u << 1,
  ktoNoPrefix = 1u << 2,
  ktoWordWrap = 1u << 3,
  ktoSingleLine = 1u << 4,
};

enum TteTextOrientation : uint8_t { ktoHorizontal = 0, ktoVerticalUp = 1, ktoVerticalDown = 2 };

struct TteTextInfo {
  TRect Rect;
  QString Text;
  uint8_t Alignment = ktaTopLeft;
  uint8_t Options = 0;
  uint8_t Orientation = ktoHorizontal;
};
// From the platform's DT_ text-format flags.
TteTextInfo TextInfo(const TRect& rect, const QString& text, uint32_t flags);

// Window kinds (from the form's border style).
enum TteWindowKind : uint8_t {
  kwkSizeable = 0, kwkDialog = 1, kwkSingle = 2, kwkNone = 4, kwkToolWindow = 6,
};

// Window buttons: bit n of TteWindowInfo::Buttons is button n.
enum TteWindowButton : uint8_t {
  kbiSysMenu = 0, kbiClose = 1, kbiHelp = 2, kbiMinimize = 3, kbiRestoreMinimized = 4,
  kbiMaximize = 5, kbiRestore = 6, kbiRollUp = 7, kbiRollDown = 8, kbiTray = 9,
  kbiCustom1 = 10, kbiCustom2 = 11, kbiCustom3 = 12,
};
inline constexpr int kWindowButtonCount = 13;
constexpr uint16_t WindowButtonBit(int button) { return uint16_t(1u << button); }

// Answers of WindowHitTest (6 is never produced).
enum TteHitCode : int {
  khtNowhere = 0, khtCaption = 1, khtLeft = 2, khtTop = 3, khtRight = 4, khtBottom = 5,
  khtTopLeft = 7, khtTopRight = 8, khtBottomLeft = 9, khtBottomRight = 10,
  khtClose = 11, khtHelp = 12, khtMinimize = 13, khtMaximize = 14, khtRollUp = 15,
  khtTray = 16, khtSysMenu = 17,
};
// The hit code of a window button; 0 for the further buttons.
int WindowButtonHitCode(int button);

struct TteWindowInfo {
  TRect Rect;
  bool Active = true;
  uint16_t Buttons = 0;
  TRect ClipRect = kNullRect;
  QString Caption;
  bool DisabledNCArea = false;
};
TteWindowInfo WindowInfo(const TRect& rect, bool active, uint16_t buttons, const QString& caption);

enum TteButtonState : uint8_t {
  kbsNormal = 0, kbsHot = 1, kbsPressed = 2, kbsDisabled = 3, kbsFocused = 4, kbsDefault = 6,
};
enum TteButtonKind : uint8_t {
  kbkPushButton = 0, kbkDot = 2, kbkArrowUp = 4, kbkArrowDown = 5, kbkArrowLeft = 6,
  kbkArrowRight = 7,
};
enum TteCheckBoxKind : uint8_t { kckCheckBox = 0, kckRadioButton = 1 };
// Checked 0-3, unchecked 5-8, mixed 10-13, each normal, hot, pressed, disabled.
enum TteCheckBoxState : uint8_t {
  kcsCheckedNormal = 0, kcsCheckedHot = 1, kcsCheckedPressed = 2, kcsCheckedDisabled = 3,
  kcsUncheckedNormal = 5, kcsUncheckedHot = 6, kcsUncheckedPressed = 7, kcsUncheckedDisabled = 8,
  kcsMixedNormal = 10, kcsMixedHot = 11, kcsMixedPressed = 12, kcsMixedDisabled = 13,
};
enum TteEditKind : uint8_t {
  kescEdit = 0, kescEditButtonLeft = 1, kescEditButtonRight = 2, kescEditButtonBoth = 3,
  kescEditButtonOther = 4, kescComboBoxLeft = 5, kescComboBoxRight = 6,
};
enum TteEditState : uint8_t {
  kesNormal = 0, kesHot = 1, kesFocused = 2, kesDisabled = 4, kesReadOnly = 5, kesSelection = 6,
};
enum TteEditButtonGlyph : uint8_t { kebgDropDown = 0, kebgUp = 2, kebgDown = 3 };
enum TteScrollPart : uint8_t {
  kspUpButton = 0, kspDownButton = 1, kspLeftButton = 4, kspRightButton = 5,
  kspHorzThumb = 8, kspVertThumb = 9,
};
enum TteScrollTrack : uint8_t { kstVertTrack = 0, kstHorzTrack = 1 };
enum TteScrollState : uint8_t { kssNormal = 0, kssPressed = 1, kssHot = 2, kssDisabled = 3 };
enum TteProgressPart : uint8_t {
  kppVertFrame = 0, kppHorzFrame = 1, kppVertBar = 2, kppHorzBar = 3, kppVertSolid = 4,
  kppHorzSolid = 5,
};
enum TteHeaderPosition : uint8_t { khpFirst = 0, khpMiddle = 1, khpLast = 2 };
enum TteHeaderState : uint8_t {
  khsNormal = 0, khsPressed = 1, khsDraggedOut = 2, khsDragging = 3, khsHot = 4,
  khsUnderDrag = 5, khsDisabled = 6,
};
enum TteStatusPanelKind : uint8_t { kspkSeparated = 0, kspkPlain = 2, kspkSizeGrip = 3 };
enum TteLabelState : uint8_t { klsEnabled = 0, klsDisabled = 2 };
enum TteMenuKind : uint8_t { kmkMenuBar = 0, kmkPopup = 1 };
enum TteMenuItemKind : uint8_t {
  kmikItem = 0, kmikSeparator = 1, kmikScrollUp = 3, kmikScrollDown = 4, kmikMinimize = 7,
  kmikRestore = 8, kmikClose = 9,
};
enum TteMenuItemState : uint8_t { kmisNormal = 0, kmisHot = 1, kmisSelected = 2, kmisDisabled = 3 };
enum TteGlyphKind : uint8_t {
  kgkCheck = 0, kgkRadio = 1, kgkSubMenu = 2, kgkImage = 3, kgkIcon = 4,
};
enum TteToolButtonState : uint8_t {
  ktbsNormal = 0, ktbsHot = 1, ktbsPressed = 2, ktbsDisabled = 3, ktbsChecked = 5,
  ktbsHotChecked = 6,
};
enum TteTabState : uint8_t {
  ktsInactiveNormal = 0, ktsInactiveHot = 1, ktsInactiveDisabled = 2, ktsActiveNormal = 3,
  ktsActiveHot = 4, ktsActiveDisabled = 5,
};
enum TteListItemState : uint8_t {
  klisNormal = 0, klisHot = 1, klisSelected = 2, klisSelectedFocused = 3, klisDisabled = 4,
};
enum TteListCheckKind : uint8_t { klckChecked = 0, klckUnchecked = 1, klckMixed = 2, klckBitmap = 3 };
enum TteWindowButtonState : uint8_t {
  kwbsNormal = 0, kwbsHot = 1, kwbsPressed = 2, kwbsInactive = 3,
};

struct TteButtonInfo { TRect Rect; uint8_t State = 0; };
struct TteCheckBoxInfo { TRect Rect; uint8_t State = 0; };
struct TteEditInfo { TRect Rect; uint8_t State = 0; };
struct TteEditButtonInfo { TRect Rect; uint8_t State = 0; uint8_t Glyph = 0; };
struct TteScrollPartInfo { TRect Rect; uint8_t Part = 0; uint8_t State = 0; };
struct TteProgressInfo { TRect Rect; uint8_t Part = 0; uint8_t Reserved = 0; };
struct TteHeaderSectionInfo { TRect Rect; uint8_t Position = 0; uint8_t State = 0; };
struct TteStatusPanelInfo { TRect Rect; uint8_t PanelKind = 0; };
struct TteGroupBoxInfo { TRect Rect; TRect EraseRect; uint8_t State = 0; };
struct TteMenuItemInfo { TRect Rect; uint8_t ItemKind = 0; uint8_t State = 0; };
struct TteToolButtonInfo { TRect Rect; uint8_t ButtonKind = 0; uint8_t State = 0; };
struct TteTabInfo { TRect Rect; uint8_t TabKind = 0; uint8_t State = 0; };
struct TteListItemInfo { TRect Rect; uint8_t State = 0; };
struct TteGlyphInfo { TRect Rect; const TteBitmap* Bitmap = nullptr; uint8_t State = 0; };
struct TteItemGlyphInfo {
  TRect Rect;
  const TteBitmap* Bitmap = nullptr;
  uint8_t State = 0;
  uint8_t GlyphKind = 0;
};
struct TteListCheckInfo {
  TRect Rect;
  int32_t Size = 4;
  const TteBitmap* Bitmap = nullptr;
  uint8_t CheckKind = 0;
};
struct TteWindowButtonInfo {
  TRect Rect;
  uint8_t Button = 0;
  uint8_t State = 0;
  const TteBitmap* Icon = nullptr;
};
struct TteGripInfo { TRect Rect; bool Visible = true; };

// A rectangle with one byte (text-area state, text-area part, collapse-panel caption).
struct TteRectByteInfo { TRect Rect; uint8_t Value = 0; };
// A rectangle with two state bytes read as one word, the first as its low byte.
struct TteStateWordInfo {
  TRect Rect;
  uint8_t Low = 0;
  uint8_t High = 0;
  uint16_t Word() const { return uint16_t(Low | (High << 8)); }
};

inline TteButtonInfo ButtonInfo(const TRect& r, uint8_t state) { return {r, state}; }
inline TteCheckBoxInfo CheckBoxInfo(const TRect& r, uint8_t state) { return {r, state}; }
inline TteEditInfo EditInfo(const TRect& r, uint8_t state) { return {r, state}; }
inline TteEditButtonInfo EditButtonInfo(const TRect& r, uint8_t state, uint8_t glyph) {
  return {r, state, glyph};
}
inline TteScrollPartInfo ScrollPartInfo(const TRect& r, uint8_t state, uint8_t part) {
  return {r, part, state};
}
inline TteProgressInfo ProgressInfo(const TRect& r, uint8_t part, uint8_t reserved = 0) {
  return {r, part, reserved};
}
inline TteHeaderSectionInfo HeaderSectionInfo(const TRect& r, uint8_t position, uint8_t state) {
  return {r, position, state};
}
inline TteStatusPanelInfo StatusPanelInfo(const TRect& r, uint8_t kind) { return {r, kind}; }
inline TteGroupBoxInfo GroupBoxInfo(const TRect& r, const TRect& erase, uint8_t state) {
  return {r, erase, state};
}
inline TteMenuItemInfo MenuItemInfo(const TRect& r, uint8_t kind, uint8_t state) {
  return {r, kind, state};
}
inline TteToolButtonInfo ToolButtonInfo(const TRect& r, uint8_t kind, uint8_t state) {
  return {r, kind, state};
}
inline TteTabInfo TabInfo(const TRect& r, uint8_t kind, uint8_t state) { return {r, kind, state}; }
inline TteListItemInfo ListItemInfo(const TRect& r, uint8_t state) { return {r, state}; }
inline TteGlyphInfo GlyphInfo(const TRect& r, const TteBitmap* bitmap, uint8_t state) {
  return {r, bitmap, state};
}
inline TteItemGlyphInfo ItemGlyphInfo(const TRect& r, const TteBitmap* bitmap, uint8_t state,
                                      uint8_t kind) {
  return {r, bitmap, state, kind};
}
// A standard glyph with no bitmap.
inline TteItemGlyphInfo ItemGlyphInfo(const TRect& r, uint8_t kind) {
  return {r, nullptr, 4, kind};
}
inline TteListCheckInfo ListCheckInfo(const TRect& r, uint8_t kind) {
  return {r, 4, nullptr, kind};
}
inline TteWindowButtonInfo WindowButtonInfo(const TRect& r, uint8_t button, uint8_t state,
                                            const TteBitmap* icon) {
  return {r, button, state, icon};
}
inline TteGripInfo GripInfo(const TRect& r, bool visible) { return {r, visible}; }
inline TteStateWordInfo StateWordInfo(const TRect& r, uint8_t low, uint8_t high) {
  return {r, low, high};
}

// The image-list forms of the glyph builders render entry index of the list into
// one shared scratch bitmap, valid until the next such call. An image list here is
// a strip of equal square-ish images side by side (each as wide as the strip is high
// unless width is given); masked lists are drawn over the key colour.
struct TteImageList {
  const QImage* Strip = nullptr;
  int Width = 0;   // of one image; 0 = the strip's height
  bool Masked = false;
};
TteGlyphInfo GlyphInfo(const TRect& r, const TteImageList& list, int index, uint8_t state);
TteItemGlyphInfo ItemGlyphInfo(const TRect& r, const TteImageList& list, int index, bool enabled,
                               uint8_t state);
// Frees the shared scratch bitmap (done at shutdown).
void FreeGlyphScratch();

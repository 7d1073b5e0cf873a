// TteTheme: the drawing contract between skinned frames and controls and the theme
// kinds. The base class is itself a complete, crude theme of defaults and placeholders.
#pragma once

#include <QRegion>
#include <QString>
#include <memory>
#include <optional>

#include "canvas.h"
#include "rect.h"
#include "theme_tables.h"
#include "theme_types.h"

class QIODevice;
class TteTheme;

// What the manager knows of a theme class without an instance: its class-level
// operations and its virtual constructor.
struct TteThemeClass {
  const char* ClassName;
  QString (*GetThemeKindName)();
  TteThemeConfig (*GetThemeConfig)();
  // True when the bytes at the stream's position are this class's format; the caller
  // restores the position. A stream too short to tell answers false.
  bool (*IsThemeStream)(QIODevice& stream);
  std::unique_ptr<TteTheme> (*Create)();
};

// Objects a theme owns that only point back at it; theme kinds extend them.
class TteThemeDrawing {
 public:
  explicit TteThemeDrawing(TteTheme* theme) : theme_(theme) {}
  TteTheme* Theme() const { return theme_; }

 private:
  TteTheme* theme_;
};
class TteThemeMetrics {
 public:
  explicit TteThemeMetrics(TteTheme* theme) : theme_(theme) {}
  TteTheme* Theme() const { return theme_; }

 private:
  TteTheme* theme_;
};

// The persistence framework's filer; nothing here streams published properties.
struct TteFiler {};

class TteTheme {
 public:
  TteTheme();
  virtual ~TteTheme();
  TteTheme(const TteTheme&) = delete;
  TteTheme& operator=(const TteTheme&) = delete;

  // The base class's descriptor, and the one of this object's own class.
  static const TteThemeClass& ThemeClass();
  virtual const TteThemeClass& Class() const { return ThemeClass(); }

  TteThemeColors& Colors() { return *colors_; }
  const TteThemeColors& Colors() const { return *colors_; }
  TteThemeFonts& Fonts() { return *fonts_; }
  const TteThemeFonts& Fonts() const { return *fonts_; }
  TteThemeSysColors& SysColors() { return *sysColors_; }
  const TteThemeSysColors& SysColors() const { return *sysColors_; }
  TteThemeDrawing& Drawing() { return *drawing_; }
  TteThemeMetrics& Metrics() { return *metrics_; }
  TteThemeOptions& Options() { return *options_; }
  const TteThemeOptions& Options() const { return *options_; }

  QString Name = QStringLiteral("Default theme");
  QString FileName;

  int DeltaHue() const { return deltaHue_; }
  int DeltaBrightness() const { return deltaBrightness_; }
  // Each stores only a changed value and then resets the theme (tables refilled and
  // shifted anew); setting back to 0 restores the unshifted look.
  void SetDeltaHue(int delta);
  void SetDeltaBrightness(int delta);
  void SetDeltaHueBrightness(int hue, int brightness);

  // ---- class-level and general operations (0-16)
  virtual void AssignTo(TteTheme& dest) const;                              // 0
  virtual void DefineProperties(TteFiler& filer);                           // 1
  // Name, Colors, SysColors, Fonts and Options; not the deltas or FileName.
  virtual void Assign(const TteTheme& source);                              // 2
  virtual void SetDefaultColors();                                          // 3
  virtual void SetDefaultSysColors();                                       // 4
  virtual void SetDefaultFonts();                                           // 5
  virtual void AssignThemeFont(TFont& font, int index, const QString& objectName);  // 6
  // 7 is the virtual constructor: TteThemeClass::Create.
  static std::unique_ptr<TteTheme> Create();                                // 7
  static QString GetThemeKindName();                                        // 8
  static TteThemeConfig GetThemeConfig();                                   // 9
  static bool IsThemeStream(QIODevice& stream);                             // 10
  virtual bool LoadFromStream(QIODevice& stream);                           // 11
  virtual bool SaveToStream(QIODevice& stream) const;                       // 12
  virtual bool LoadFromFile(const QString& fileName);                       // 13
  virtual bool SaveToFile(const QString& fileName) const;                   // 14
  virtual void ResetTheme();                                                // 15
  virtual void PaintText(TCanvas& canvas, const TteTextInfo& text);         // 16

  // ---- window (17-27)
  virtual bool HasWindow(uint8_t kind, const QString& objectName);          // 17
  virtual std::optional<QRegion> GetWindowRegion(uint8_t kind, const TRect& rect,
                                                 const QString& objectName);  // 18
  virtual int WindowHitTest(uint8_t kind, const TteWindowInfo& info, int x, int y,
                            const QString& objectName);                     // 19
  virtual TRect WindowContentRect(uint8_t kind, const TteWindowInfo& info,
                                  const QString& objectName);               // 20
  virtual TRect WindowCaptionRect(uint8_t kind, const TteWindowInfo& info,
                                  const QString& objectName);               // 21
  virtual TRect WindowButtonRect(uint8_t kind, const TteWindowInfo& info, int button,
                                 const QString& objectName);                // 22
  virtual void PaintWindow(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                           const QString& objectName);                      // 23
  virtual void PaintWindowClient(uint8_t kind, TCanvas& canvas, const TRect& rect,
                                 const QString& objectName);                // 24
  virtual void PaintWindowCaption(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                                  const TRect& rect, const QString& objectName);  // 25
  virtual void PaintWindowButton(uint8_t kind, TCanvas& canvas, const TteWindowButtonInfo& info,
                                 const QString& objectName);                // 26
  virtual void PaintWindowGripper(uint8_t kind, TCanvas& canvas, const TteGripInfo& info,
                                  const QString& objectName);               // 27

  // ---- hint, label, panel (28-39)
  virtual bool HasHint(uint8_t kind, const QString& objectName);            // 28
  virtual TRect HintContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 29
  virtual void PaintHint(uint8_t kind, TCanvas& canvas, const TRect& rect,
                         const QString& objectName);                        // 30
  virtual bool HasLabel(uint8_t kind, const QString& objectName);           // 31
  virtual bool IsLabelTransparent(uint8_t kind, const QString& objectName); // 32
  virtual void PaintLabelText(uint8_t kind, TCanvas& canvas, uint8_t state,
                              const TteTextInfo& text, const QString& objectName);  // 33
  virtual bool HasPanel(uint8_t kind, const QString& objectName);           // 34
  virtual bool IsPanelTransparent(uint8_t kind, const QString& objectName); // 35
  virtual TRect PanelContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 36
  virtual void PaintPanel(uint8_t kind, TCanvas& canvas, const TRect& rect,
                          const QString& objectName);                       // 37
  virtual void PaintPanelPart(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                              const QString& objectName);                   // 38
  virtual void PaintPanelText(uint8_t kind, TCanvas& canvas, const TRect& rect,
                              const TteTextInfo& text, const QString& objectName);  // 39

  // ---- button, check box (40-49)
  virtual bool HasButton(uint8_t kind, const QString& objectName);          // 40
  virtual bool IsButtonTransparent(uint8_t kind, const QString& objectName);  // 41
  virtual void PaintButton(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                           const QString& objectName);                      // 42
  virtual void PaintButtonText(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                               const TteTextInfo& text, const QString& objectName);  // 43
  virtual void PaintButtonGlyph(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                                const TteGlyphInfo& glyph, const QString& objectName);  // 44
  virtual bool HasCheckBox(uint8_t kind, const QString& objectName);        // 45
  virtual bool IsCheckBoxTransparent(uint8_t kind, const QString& objectName);  // 46
  virtual void PaintCheckBox(uint8_t kind, TCanvas& canvas, const TteCheckBoxInfo& info,
                             const QString& objectName);                    // 47
  virtual void PaintCheckBoxText(uint8_t kind, TCanvas& canvas, const TteCheckBoxInfo& info,
                                 const TteTextInfo& text, const QString& objectName);  // 48
  virtual TPoint CheckBoxSize(uint8_t kind, const QString& objectName);     // 49

  // ---- splitter, scroll bar (50-57)
  virtual bool HasSplitter(uint8_t kind, const QString& objectName);        // 50
  virtual bool IsSplitterTransparent(uint8_t kind, const QString& objectName);  // 51
  virtual void PaintSplitter(uint8_t kind, TCanvas& canvas, const TRect& rect,
                             const QString& objectName);                    // 52
  virtual bool HasScrollBar(uint8_t kind, const QString& objectName);       // 53
  virtual bool IsScrollBarTransparent(uint8_t kind, const QString& objectName);  // 54
  virtual void PaintScrollBar(uint8_t kind, TCanvas& canvas, const TRect& rect,
                              const QString& objectName);                   // 55
  virtual void PaintScrollBarPart(uint8_t kind, TCanvas& canvas, const TteScrollPartInfo& info,
                                  const QString& objectName);               // 56
  virtual void PaintScrollBarTrack(uint8_t kind, TCanvas& canvas, const TteScrollPartInfo& info,
                                   const QString& objectName);              // 57

  // ---- progress bar, track bar (58-67)
  virtual bool HasProgressBar(uint8_t kind, const QString& objectName);     // 58
  virtual bool IsProgressBarTransparent(uint8_t kind, const QString& objectName);  // 59
  virtual TRect ProgressBarContentRect(uint8_t kind, const TteProgressInfo& info,
                                       const QString& objectName);          // 60
  virtual void PaintProgressBar(uint8_t kind, TCanvas& canvas, const TteProgressInfo& info,
                                const QString& objectName);                 // 61
  virtual bool HasTrackBar(uint8_t kind, const QString& objectName);        // 62
  virtual bool IsTrackBarTransparent(uint8_t kind, const QString& objectName);  // 63
  virtual void PaintTrackBar(uint8_t kind, TCanvas& canvas, const TRect& rect,
                             const QString& objectName);                    // 64
  virtual void PaintTrackBarTrack(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                  const QString& objectName);               // 65
  virtual void PaintTrackBarThumb(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                  const QString& objectName);               // 66
  virtual TPoint TrackBarThumbSize(uint8_t kind, const TteStateWordInfo& info,
                                   const QString& objectName);              // 67

  // ---- header, status bar (68-80)
  virtual bool HasHeader(uint8_t kind, const QString& objectName);          // 68
  virtual bool IsHeaderTransparent(uint8_t kind, const QString& objectName);  // 69
  virtual void PaintHeader(uint8_t kind, TCanvas& canvas, const TRect& rect,
                           const QString& objectName);                      // 70
  virtual void PaintHeaderSection(uint8_t kind, TCanvas& canvas, const TteHeaderSectionInfo& info,
                                  const QString& objectName);               // 71
  virtual void PaintHeaderSectionText(uint8_t kind, TCanvas& canvas,
                                      const TteHeaderSectionInfo& info, const TteTextInfo& text,
                                      const QString& objectName);           // 72
  virtual void PaintHeaderSectionGlyph(uint8_t kind, TCanvas& canvas,
                                       const TteHeaderSectionInfo& info,
                                       const TteGlyphInfo& glyph, const QString& objectName);  // 73
  virtual bool HasStatusBar(uint8_t kind, const QString& objectName);       // 74
  virtual bool IsStatusBarTransparent(uint8_t kind, const QString& objectName);  // 75
  virtual TRect StatusBarContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 76
  virtual void PaintStatusBar(uint8_t kind, TCanvas& canvas, const TRect& rect,
                              const QString& objectName);                   // 77
  virtual void PaintStatusPanel(uint8_t kind, TCanvas& canvas, const TteStatusPanelInfo& info,
                                const QString& objectName);                 // 78
  virtual void PaintStatusPanelText(uint8_t kind, TCanvas& canvas, const TteStatusPanelInfo& info,
                                    const TteTextInfo& text, const QString& objectName);  // 79
  virtual void PaintStatusPanelGlyph(uint8_t kind, TCanvas& canvas,
                                     const TteStatusPanelInfo& info, const TteGlyphInfo& glyph,
                                     const QString& objectName);            // 80

  // ---- edit, group box (81-90)
  virtual bool HasEdit(uint8_t kind, const QString& objectName);            // 81
  virtual bool IsEditTransparent(uint8_t kind, const QString& objectName);  // 82
  virtual TRect EditContentRect(uint8_t kind, const TteEditInfo& info, const QString& objectName);  // 83
  virtual void PaintEdit(uint8_t kind, TCanvas& canvas, const TteEditInfo& info,
                         const QString& objectName);                        // 84
  virtual void PaintEditButton(uint8_t kind, TCanvas& canvas, const TteEditButtonInfo& info,
                               const QString& objectName);                  // 85
  virtual bool HasGroupBox(uint8_t kind, const QString& objectName);        // 86
  virtual bool IsGroupBoxTransparent(uint8_t kind, const QString& objectName);  // 87
  virtual TRect GroupBoxContentRect(uint8_t kind, const TteGroupBoxInfo& info,
                                    const QString& objectName);             // 88
  virtual void PaintGroupBox(uint8_t kind, TCanvas& canvas, const TteGroupBoxInfo& info,
                             const QString& objectName);                    // 89
  virtual void PaintGroupBoxText(uint8_t kind, TCanvas& canvas, const TteGroupBoxInfo& info,
                                 const TteTextInfo& text, const QString& objectName);  // 90

  // ---- text area (91-98)
  virtual bool HasTextArea(uint8_t kind, const QString& objectName);        // 91
  virtual bool IsTextAreaTransparent(uint8_t kind, const QString& objectName);  // 92
  virtual TRect TextAreaContentRect(uint8_t kind, const TteRectByteInfo& info,
                                    const QString& objectName);             // 93
  virtual void PaintTextArea(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                             const QString& objectName);                    // 94
  virtual bool HasTextAreaPart(uint8_t kind, const QString& objectName);    // 95
  virtual bool IsTextAreaPartTransparent(uint8_t kind, const QString& objectName);  // 96
  virtual TRect TextAreaPartContentRect(uint8_t kind, const TteRectByteInfo& info,
                                        const QString& objectName);         // 97
  virtual void PaintTextAreaPart(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                                 const QString& objectName);                // 98

  // ---- menu (99-105)
  virtual bool HasMenu(uint8_t kind, const QString& objectName);            // 99
  virtual bool IsMenuTransparent(uint8_t kind, const QString& objectName);  // 100
  virtual TRect MenuContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 101
  virtual void PaintMenu(uint8_t kind, TCanvas& canvas, const TRect& rect,
                         const QString& objectName);                        // 102
  virtual void PaintMenuItem(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                             const QString& objectName);                    // 103
  virtual void PaintMenuItemText(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                                 const TteTextInfo& text, const QString& objectName);  // 104
  virtual void PaintMenuItemGlyph(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                                  const TteItemGlyphInfo& glyph, const QString& objectName);  // 105

  // ---- dock, tool bar, scroll box (106-117)
  virtual bool HasDock(uint8_t kind, const QString& objectName);            // 106
  virtual TRect DockContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 107
  virtual void PaintDock(uint8_t kind, TCanvas& canvas, const TRect& rect,
                         const QString& objectName);                        // 108
  virtual bool HasTool(uint8_t kind, const QString& objectName);            // 109
  virtual TRect ToolContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 110
  virtual void PaintTool(uint8_t kind, TCanvas& canvas, const TRect& rect,
                         const QString& objectName);                        // 111
  virtual void PaintToolButton(uint8_t kind, TCanvas& canvas, const TteToolButtonInfo& info,
                               const QString& objectName);                  // 112
  virtual void PaintToolButtonText(uint8_t kind, TCanvas& canvas, const TteToolButtonInfo& info,
                                   const TteTextInfo& text, const QString& objectName);  // 113
  virtual void PaintToolButtonGlyph(uint8_t kind, TCanvas& canvas, const TteToolButtonInfo& info,
                                    const TteItemGlyphInfo& glyph, const QString& objectName);  // 114
  virtual bool HasScrollBox(uint8_t kind, const QString& objectName);       // 115
  virtual TRect ScrollBoxContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 116
  virtual void PaintScrollBox(uint8_t kind, TCanvas& canvas, const TRect& rect,
                              const QString& objectName);                   // 117

  // ---- collapse panel (118-125)
  virtual bool HasCollapsePanel(uint8_t kind, const QString& objectName);   // 118
  virtual bool IsCollapsePanelTransparent(uint8_t kind, const QString& objectName);  // 119
  virtual TRect CollapsePanelContentRect(uint8_t kind, const TRect& rect,
                                         const QString& objectName);        // 120
  virtual void PaintCollapsePanel(uint8_t kind, TCanvas& canvas, const TRect& rect,
                                  const QString& objectName);               // 121
  virtual void PaintCollapsePanelCaption(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                                         const QString& objectName);        // 122
  virtual void PaintCollapsePanelButton(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                        const QString& objectName);         // 123
  virtual void PaintCollapsePanelPart(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                      const QString& objectName);           // 124
  virtual void PaintCollapsePanelText(uint8_t kind, TCanvas& canvas, const TteTextInfo& text,
                                      const QString& objectName);           // 125

  // ---- tab (126-133)
  virtual bool HasTab(uint8_t kind, const QString& objectName);             // 126
  virtual bool IsTabTransparent(uint8_t kind, const QString& objectName);   // 127
  virtual TRect TabContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 128
  virtual void PaintTabPage(uint8_t kind, TCanvas& canvas, const TRect& rect,
                            const QString& objectName);                     // 129
  virtual void PaintTab(uint8_t kind, TCanvas& canvas, const TteTabInfo& info,
                        const QString& objectName);                         // 130
  virtual void PaintTabScrollButton(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                    const QString& objectName);             // 131
  virtual void PaintTabText(uint8_t kind, TCanvas& canvas, const TteTabInfo& info,
                            const TteTextInfo& text, const QString& objectName);  // 132
  virtual void PaintTabGlyph(uint8_t kind, TCanvas& canvas, const TteTabInfo& info,
                             const TteGlyphInfo& glyph, const QString& objectName);  // 133

  // ---- list (134-141)
  virtual bool HasList(uint8_t kind, const QString& objectName);            // 134
  virtual bool IsListTransparent(uint8_t kind, const QString& objectName);  // 135
  virtual TRect ListContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 136
  virtual void PaintList(uint8_t kind, TCanvas& canvas, const TRect& rect,
                         const QString& objectName);                        // 137
  virtual void PaintListPart(uint8_t kind, TCanvas& canvas, const TRect& rect,
                             const QString& objectName);                    // 138
  virtual void PaintListItem(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                             const QString& objectName);                    // 139
  virtual void PaintListItemText(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                                 const TteTextInfo& text, const QString& objectName);  // 140
  virtual void PaintListItemCheck(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                                  const TteListCheckInfo& check, const QString& objectName);  // 141

  // ---- tree (142-148)
  virtual bool HasTree(uint8_t kind, const QString& objectName);            // 142
  virtual bool IsTreeTransparent(uint8_t kind, const QString& objectName);  // 143
  virtual TRect TreeContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 144
  virtual void PaintTree(uint8_t kind, TCanvas& canvas, const TRect& rect,
                         const QString& objectName);                        // 145
  virtual void PaintTreeItem(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                             const QString& objectName);                    // 146
  virtual void PaintTreeItemText(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                                 const TteTextInfo& text, const QString& objectName);  // 147
  virtual void PaintTreeItemGlyph(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                                  const TteGlyphInfo& glyph, const QString& objectName);  // 148

  // ---- grid (149-155)
  virtual bool HasGrid(uint8_t kind, const QString& objectName);            // 149
  virtual bool IsGridTransparent(uint8_t kind, const QString& objectName);  // 150
  virtual TRect GridContentRect(uint8_t kind, const TRect& rect, const QString& objectName);  // 151
  virtual void PaintGrid(uint8_t kind, TCanvas& canvas, const TRect& rect,
                         const QString& objectName);                        // 152
  virtual void PaintGridCell(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                             const QString& objectName);                    // 153
  virtual void PaintGridCellText(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                 const TteTextInfo& text, const QString& objectName);  // 154
  virtual void PaintGridCellGlyph(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                  const TteGlyphInfo& glyph, const QString& objectName);  // 155

  // ---- named extras (156-157)
  virtual TRect GetObjectBounds(const QString& objectName);                 // 156
  virtual TColor GetCustomColor(const QString& colorName);                  // 157

 protected:
  // Plain fills and frames shared by the base painting.
  static void Placeholder(TCanvas& canvas, const TRect& rect, TColor fill, TColor frame);
  // Fill by list-item state (0 white, 1 yellow, 2 navy, 3 blue, 4 silver), blue frame.
  static void PaintItemByState(TCanvas& canvas, const TRect& rect, int state);
  // The check mark, radio dot, sub-menu arrow or image of a menu or tool item.
  void PaintItemGlyph(TCanvas& canvas, const TteItemGlyphInfo& glyph);

 private:
  // Destroyed bottom-up: Options, Metrics, Drawing, Fonts, SysColors, Colors.
  std::unique_ptr<TteThemeColors> colors_;
  std::unique_ptr<TteThemeSysColors> sysColors_;
  std::unique_ptr<TteThemeFonts> fonts_;
  std::unique_ptr<TteThemeDrawing> drawing_;
  std::unique_ptr<TteThemeMetrics> metrics_;
  std::unique_ptr<TteThemeOptions> options_;
  int deltaHue_ = 0;
  int deltaBrightness_ = 0;
};

// Where PaintText puts a text: the box it draws in, the text-format flags, and for
// vertical text the sense of the turn. Draw is false where nothing is drawn (vertical
// text aligned other than top-left or centre).
struct TteTextLayout {
  bool Draw = false;
  bool Vertical = false;
  bool Upwards = false;
  uint32_t Flags = 0;
  TRect Box;
};
TteTextLayout LayoutText(TCanvas& canvas, const TteTextInfo& text);

// A theme link (a component that owns a theme of its own for some controls).
class TteCustomThemeLink {
 public:
  virtual ~TteCustomThemeLink() = default;
  virtual TteTheme* GetTheme() const = 0;
};

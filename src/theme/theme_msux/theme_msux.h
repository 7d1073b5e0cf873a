// TTeThemeMsStyles: the packed visual-style theme, an INI text of element sections plus
// a table of images, read from and written to the "OVMSSTL" stream and ".theme" files.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <array>
#include <memory>

#include "te_bitmap.h"
#include "te_compress.h"
#include "te_theme.h"
#include "theme_msuxobjects.h"
#include "theme_msuxtypes.h"

class TTeThemeMsStyles : public TteTheme {
 public:
  // The type magic: seven bytes, no length, no terminator.
  static const QByteArray& Magic();
  // The most decompressed body bytes a packed stream may hold. Themes are a few
  // megabytes; the bound keeps a small hostile stream from inflating without end.
  static constexpr qint64 kMaxBodySize = qint64(256) << 20;
  // The longest INI text a theme takes, both as read and as it is written back (which
  // may be longer: every entry gets its "=", every line CR LF). Real ones are tens of
  // kilobytes; the bound keeps a small stream of millions of tiny lines from costing
  // gigabytes of entries. A longer text fails the load.
  static constexpr qsizetype kMaxIniSize = qsizetype(1) << 20;

  TTeThemeMsStyles();
  ~TTeThemeMsStyles() override;

  static const TteThemeClass& ThemeClass();
  const TteThemeClass& Class() const override { return ThemeClass(); }
  static std::unique_ptr<TteTheme> Create();
  static QString GetThemeKindName();
  static TteThemeConfig GetThemeConfig();
  static bool IsThemeStream(QIODevice& stream);

  // Wrong magic leaves an empty theme and still succeeds. Corrupt or truncated data
  // raises (EDecompressionError or EAppError "Stream read error"); the theme is then
  // rebuilt from whatever was read, so it is always consistent.
  bool LoadFromStream(QIODevice& stream) override;
  bool SaveToStream(QIODevice& stream) const override;
  // ".theme" files (any case) hold the packed stream; any other file is read as a
  // resource library: the name lists COLORNAMES, SIZENAMES and FILERESNAMES, then the
  // TEXTFILE the colour-scheme and size indices choose. Its images are fetched from the
  // library as the build binds them. False, INI and images untouched, for a file that
  // is not a library, lacks a list or the chosen text, or an index out of range.
  bool LoadFromFile(const QString& fileName) override;
  bool SaveToFile(const QString& fileName) const override;
  void Assign(const TteTheme& source) override;
  void ResetTheme() override;
  void SetDefaultColors() override;
  void SetDefaultSysColors() override;
  void SetDefaultFonts() override;

  // ---- window frame: kinds 0 and 1 use the normal sections and metrics, kind 6 (tool
  // window) the small ones; other kinds have no frame here (inputs come back unchanged,
  // nothing is painted, no region). Buttons that the window does not show have no
  // rectangle, so the hit test never answers for them.
  bool HasWindow(uint8_t kind, const QString& objectName) override;
  // The content rectangle joined with the painted, non-key pixels of the caption band
  // and the three borders; none for an empty rectangle.
  std::optional<QRegion> GetWindowRegion(uint8_t kind, const TRect& rect,
                                         const QString& objectName) override;
  // The base hit test, with the caption band below the top border answering caption.
  int WindowHitTest(uint8_t kind, const TteWindowInfo& info, int x, int y,
                    const QString& objectName) override;
  TRect WindowContentRect(uint8_t kind, const TteWindowInfo& info,
                          const QString& objectName) override;
  TRect WindowCaptionRect(uint8_t kind, const TteWindowInfo& info,
                          const QString& objectName) override;
  TRect WindowButtonRect(uint8_t kind, const TteWindowInfo& info, int button,
                         const QString& objectName) override;
  // Caption band and borders in frame 1 (active) or 2 (inactive).
  void PaintWindow(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                   const QString& objectName) override;
  void PaintWindowClient(uint8_t kind, TCanvas& canvas, const TRect& rect,
                         const QString& objectName) override;
  // The caption, cut short with "..." where it does not fit, after its shadow when the
  // theme gives one.
  void PaintWindowCaption(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                          const TRect& rect, const QString& objectName) override;
  void PaintWindowButton(uint8_t kind, TCanvas& canvas, const TteWindowButtonInfo& info,
                         const QString& objectName) override;

  // ---- element painting: each operation picks an element object and a frame
  bool HasButton(uint8_t kind, const QString& objectName) override;
  bool IsButtonTransparent(uint8_t kind, const QString& objectName) override;
  void PaintButton(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                   const QString& objectName) override;
  bool HasCheckBox(uint8_t kind, const QString& objectName) override;
  bool IsCheckBoxTransparent(uint8_t kind, const QString& objectName) override;
  void PaintCheckBox(uint8_t kind, TCanvas& canvas, const TteCheckBoxInfo& info,
                     const QString& objectName) override;
  bool HasScrollBar(uint8_t kind, const QString& objectName) override;
  bool IsScrollBarTransparent(uint8_t kind, const QString& objectName) override;
  void PaintScrollBar(uint8_t kind, TCanvas& canvas, const TRect& rect,
                      const QString& objectName) override;
  void PaintScrollBarPart(uint8_t kind, TCanvas& canvas, const TteScrollPartInfo& info,
                          const QString& objectName) override;
  bool HasProgressBar(uint8_t kind, const QString& objectName) override;
  bool IsProgressBarTransparent(uint8_t kind, const QString& objectName) override;
  void PaintProgressBar(uint8_t kind, TCanvas& canvas, const TteProgressInfo& info,
                        const QString& objectName) override;
  bool HasHeader(uint8_t kind, const QString& objectName) override;
  void PaintHeader(uint8_t kind, TCanvas& canvas, const TRect& rect,
                   const QString& objectName) override;
  void PaintHeaderSection(uint8_t kind, TCanvas& canvas, const TteHeaderSectionInfo& info,
                          const QString& objectName) override;
  bool HasEdit(uint8_t kind, const QString& objectName) override;
  TRect EditContentRect(uint8_t kind, const TteEditInfo& info, const QString& objectName) override;
  void PaintEdit(uint8_t kind, TCanvas& canvas, const TteEditInfo& info,
                 const QString& objectName) override;

  void PaintScrollBarTrack(uint8_t kind, TCanvas& canvas, const TteScrollPartInfo& info,
                           const QString& objectName) override;
  bool HasTrackBar(uint8_t kind, const QString& objectName) override;
  bool IsTrackBarTransparent(uint8_t kind, const QString& objectName) override;
  void PaintTrackBar(uint8_t kind, TCanvas& canvas, const TRect& rect,
                     const QString& objectName) override;
  void PaintTrackBarTrack(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                          const QString& objectName) override;
  void PaintTrackBarThumb(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                          const QString& objectName) override;
  // The frame size of a true-size thumb; (0, 0) for thumbs that take the room given.
  TPoint TrackBarThumbSize(uint8_t kind, const TteStateWordInfo& info,
                           const QString& objectName) override;
  bool HasStatusBar(uint8_t kind, const QString& objectName) override;
  TRect StatusBarContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintStatusBar(uint8_t kind, TCanvas& canvas, const TRect& rect,
                      const QString& objectName) override;
  void PaintStatusPanel(uint8_t kind, TCanvas& canvas, const TteStatusPanelInfo& info,
                        const QString& objectName) override;
  void PaintEditButton(uint8_t kind, TCanvas& canvas, const TteEditButtonInfo& info,
                       const QString& objectName) override;
  bool HasTextArea(uint8_t kind, const QString& objectName) override;
  bool IsTextAreaTransparent(uint8_t kind, const QString& objectName) override;
  TRect TextAreaContentRect(uint8_t kind, const TteRectByteInfo& info,
                            const QString& objectName) override;
  void PaintTextArea(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                     const QString& objectName) override;
  bool HasTextAreaPart(uint8_t kind, const QString& objectName) override;
  bool IsTextAreaPartTransparent(uint8_t kind, const QString& objectName) override;
  TRect TextAreaPartContentRect(uint8_t kind, const TteRectByteInfo& info,
                                const QString& objectName) override;
  void PaintTextAreaPart(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                         const QString& objectName) override;
  bool HasTab(uint8_t kind, const QString& objectName) override;
  TRect TabContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintTabPage(uint8_t kind, TCanvas& canvas, const TRect& rect,
                    const QString& objectName) override;
  void PaintTab(uint8_t kind, TCanvas& canvas, const TteTabInfo& info,
                const QString& objectName) override;
  void PaintTabScrollButton(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                            const QString& objectName) override;

  bool HasPanel(uint8_t kind, const QString& objectName) override;
  TRect PanelContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintPanel(uint8_t kind, TCanvas& canvas, const TRect& rect,
                  const QString& objectName) override;
  bool HasSplitter(uint8_t kind, const QString& objectName) override;
  void PaintSplitter(uint8_t kind, TCanvas& canvas, const TRect& rect,
                     const QString& objectName) override;
  bool HasGroupBox(uint8_t kind, const QString& objectName) override;
  bool IsGroupBoxTransparent(uint8_t kind, const QString& objectName) override;
  // The pixels under the info's erase rectangle (the caption's gap) survive the paint.
  void PaintGroupBox(uint8_t kind, TCanvas& canvas, const TteGroupBoxInfo& info,
                     const QString& objectName) override;
  bool HasMenu(uint8_t kind, const QString& objectName) override;
  bool IsMenuTransparent(uint8_t kind, const QString& objectName) override;
  TRect MenuContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintMenu(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  bool HasDock(uint8_t kind, const QString& objectName) override;
  TRect DockContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintDock(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  bool HasTool(uint8_t kind, const QString& objectName) override;
  void PaintTool(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  void PaintToolButton(uint8_t kind, TCanvas& canvas, const TteToolButtonInfo& info,
                       const QString& objectName) override;
  bool HasScrollBox(uint8_t kind, const QString& objectName) override;
  TRect ScrollBoxContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintScrollBox(uint8_t kind, TCanvas& canvas, const TRect& rect,
                      const QString& objectName) override;
  bool HasCollapsePanel(uint8_t kind, const QString& objectName) override;
  bool IsCollapsePanelTransparent(uint8_t kind, const QString& objectName) override;
  TRect CollapsePanelContentRect(uint8_t kind, const TRect& rect,
                                 const QString& objectName) override;
  void PaintCollapsePanel(uint8_t kind, TCanvas& canvas, const TRect& rect,
                          const QString& objectName) override;
  void PaintCollapsePanelCaption(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                                 const QString& objectName) override;
  void PaintCollapsePanelButton(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                const QString& objectName) override;
  bool HasList(uint8_t kind, const QString& objectName) override;
  void PaintList(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  void PaintListItem(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                     const QString& objectName) override;
  bool HasTree(uint8_t kind, const QString& objectName) override;
  void PaintTree(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  void PaintTreeItem(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                     const QString& objectName) override;
  bool HasGrid(uint8_t kind, const QString& objectName) override;
  void PaintGrid(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  void PaintGridCell(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                     const QString& objectName) override;

  void PaintMenuItem(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                     const QString& objectName) override;
  void PaintMenuItemGlyph(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                          const TteItemGlyphInfo& glyph, const QString& objectName) override;
  void PaintTabText(uint8_t kind, TCanvas& canvas, const TteTabInfo& info, const TteTextInfo& text,
                    const QString& objectName) override;
  void PaintListItemCheck(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                          const TteListCheckInfo& check, const QString& objectName) override;

  // No images, or no Button.Pushbutton keys.
  bool IsEmptyTheme() const;

  TmsuxIni& Ini() { return ini_; }
  const TmsuxIni& Ini() const { return ini_; }
  TteBitmapList& Images() { return images_; }
  const TteBitmapList& Images() const { return images_; }
  // The element object of a listed section (never null once built).
  TmsuxThemeObject* Object(TmsuxSection section) const;
  // The element object of a section name (no case), or null when not in the list.
  TmsuxThemeObject* FindObject(const QString& section) const;
  int ObjectCount() const;

  int32_t CaptionBarHeight = 25;
  int32_t SMCaptionBarHeight = 17;
  int32_t BorderWidth = 4;
  int32_t SMBorderWidth = 3;
  TColor MenuColor = RGB(100, 100, 100);
  TColor MenuBarColor = RGB(100, 100, 100);
  TColor MenuHilightColor = RGB(100, 100, 100);
  TFont MenuFont, StatusFont, MsgBoxFont;

  // The theme as saved right after its first build, before any hue or brightness
  // shift; every rebuild starts from it.
  const QByteArray& PristineCopy() const { return pristine_; }
  void ClearPristineCopy() { pristine_.clear(); }

  QString SourceFileName;
  int32_t ColorSchemeIndex = 0;
  int32_t SizeIndex = 0;
  QStringList ColorNames, SizeNames, FileResNames;

 private:
  // Magic already consumed: the zlib body into name, INI and images.
  void ReadBody(QIODevice& stream);
  // The packed stream at a compression level: SaveToStream's, and the copies kept in memory.
  void WriteStream(QIODevice& stream, TCompressionLevel level) const;
  // Drops the element objects, the images and the INI.
  void ClearContent();
  void BuildObjects();
  QString SysMetric(const char* key, const char* def) const;
  // Paints section's element into rect with frame (nothing for a frame of 0).
  void PaintElement(TmsuxSection section, TCanvas& canvas, const TRect& rect, int frame);
  // An edit box (or a combo box) in an edit state: 0-3 plain, 4 disabled, 5 read-only,
  // 6 selected.
  void PaintEditState(bool combo, TCanvas& canvas, const TRect& rect, int state);
  bool IsDefined(TmsuxSection section) const;
  // A list or tree item: selected states in the highlight colour, others in the window's.
  void PaintItemFill(TCanvas& canvas, const TRect& rect, uint8_t state);
  // The raised (or, with sunken, lowered) face of panels, fixed grid cells and scroll boxes.
  void PaintFace(TCanvas& canvas, const TRect& rect, bool sunken);
  // The theme's own substitute for a system colour.
  TColor ThemeSysColor(int index) const;
  // A scroll thumb: squeezed through a bitmap when the room is narrower (or lower)
  // than its frame, then its gripper centred when that fits.
  void PaintScrollThumb(bool horizontal, TCanvas& canvas, const TRect& rect, int frame);

  TmsuxIni ini_;
  TteBitmapList images_;
  std::array<std::unique_ptr<TmsuxThemeObject>, kMsuxSectionCount> objects_;
  QByteArray pristine_;
};

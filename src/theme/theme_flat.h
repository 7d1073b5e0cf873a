// TTeFlatTheme: the built-in theme drawn entirely by code, every element a flat fill
// with a one-pixel outline in the Border colour plus a few glyphs. OfficeXP derives from it.
#pragma once

#include <vector>

#include "te_theme.h"

class TTeFlatTheme : public TteTheme {
 public:
  TTeFlatTheme();

  static const TteThemeClass& ThemeClass();
  const TteThemeClass& Class() const override { return ThemeClass(); }
  static std::unique_ptr<TteTheme> Create();
  static QString GetThemeKindName();
  // Built in: nothing to load or save.
  static TteThemeConfig GetThemeConfig();

  // Width of the coloured strip at the left of popup menus and their items.
  int32_t MenuStripWidth = 0;

  void SetDefaultColors() override;
  void SetDefaultFonts() override;

  // ---- window
  bool HasWindow(uint8_t kind, const QString& objectName) override;
  TRect WindowContentRect(uint8_t kind, const TteWindowInfo& info,
                          const QString& objectName) override;
  TRect WindowCaptionRect(uint8_t kind, const TteWindowInfo& info,
                          const QString& objectName) override;
  TRect WindowButtonRect(uint8_t kind, const TteWindowInfo& info, int button,
                         const QString& objectName) override;
  void PaintWindow(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                   const QString& objectName) override;
  void PaintWindowCaption(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                          const TRect& rect, const QString& objectName) override;
  void PaintWindowButton(uint8_t kind, TCanvas& canvas, const TteWindowButtonInfo& info,
                         const QString& objectName) override;

  // ---- label, panel
  bool HasLabel(uint8_t kind, const QString& objectName) override;
  bool HasPanel(uint8_t kind, const QString& objectName) override;
  bool IsPanelTransparent(uint8_t kind, const QString& objectName) override;
  TRect PanelContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintPanel(uint8_t kind, TCanvas& canvas, const TRect& rect,
                  const QString& objectName) override;

  // ---- button, check box
  bool HasButton(uint8_t kind, const QString& objectName) override;
  bool IsButtonTransparent(uint8_t kind, const QString& objectName) override;
  void PaintButton(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                   const QString& objectName) override;
  bool HasCheckBox(uint8_t kind, const QString& objectName) override;
  bool IsCheckBoxTransparent(uint8_t kind, const QString& objectName) override;
  void PaintCheckBox(uint8_t kind, TCanvas& canvas, const TteCheckBoxInfo& info,
                     const QString& objectName) override;

  // ---- splitter, scroll bar
  bool HasSplitter(uint8_t kind, const QString& objectName) override;
  bool IsSplitterTransparent(uint8_t kind, const QString& objectName) override;
  void PaintSplitter(uint8_t kind, TCanvas& canvas, const TRect& rect,
                     const QString& objectName) override;
  // Kind 0 only.
  bool HasScrollBar(uint8_t kind, const QString& objectName) override;
  bool IsScrollBarTransparent(uint8_t kind, const QString& objectName) override;
  void PaintScrollBarPart(uint8_t kind, TCanvas& canvas, const TteScrollPartInfo& info,
                          const QString& objectName) override;
  void PaintScrollBarTrack(uint8_t kind, TCanvas& canvas, const TteScrollPartInfo& info,
                           const QString& objectName) override;

  // ---- progress bar, track bar
  bool HasProgressBar(uint8_t kind, const QString& objectName) override;
  bool IsProgressBarTransparent(uint8_t kind, const QString& objectName) override;
  void PaintProgressBar(uint8_t kind, TCanvas& canvas, const TteProgressInfo& info,
                        const QString& objectName) override;
  bool HasTrackBar(uint8_t kind, const QString& objectName) override;
  bool IsTrackBarTransparent(uint8_t kind, const QString& objectName) override;
  // Nothing: the track bar is transparent and only its track and thumb are drawn.
  void PaintTrackBar(uint8_t kind, TCanvas& canvas, const TRect& rect,
                     const QString& objectName) override;
  void PaintTrackBarTrack(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                          const QString& objectName) override;
  void PaintTrackBarThumb(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                          const QString& objectName) override;

  // ---- header, status bar
  bool HasHeader(uint8_t kind, const QString& objectName) override;
  bool IsHeaderTransparent(uint8_t kind, const QString& objectName) override;
  void PaintHeader(uint8_t kind, TCanvas& canvas, const TRect& rect,
                   const QString& objectName) override;
  void PaintHeaderSection(uint8_t kind, TCanvas& canvas, const TteHeaderSectionInfo& info,
                          const QString& objectName) override;
  void PaintHeaderSectionText(uint8_t kind, TCanvas& canvas, const TteHeaderSectionInfo& info,
                              const TteTextInfo& text, const QString& objectName) override;
  void PaintHeaderSectionGlyph(uint8_t kind, TCanvas& canvas, const TteHeaderSectionInfo& info,
                               const TteGlyphInfo& glyph, const QString& objectName) override;
  bool HasStatusBar(uint8_t kind, const QString& objectName) override;
  bool IsStatusBarTransparent(uint8_t kind, const QString& objectName) override;
  TRect StatusBarContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintStatusBar(uint8_t kind, TCanvas& canvas, const TRect& rect,
                      const QString& objectName) override;
  void PaintStatusPanel(uint8_t kind, TCanvas& canvas, const TteStatusPanelInfo& info,
                        const QString& objectName) override;

  // ---- edit, group box
  bool HasEdit(uint8_t kind, const QString& objectName) override;
  bool IsEditTransparent(uint8_t kind, const QString& objectName) override;
  TRect EditContentRect(uint8_t kind, const TteEditInfo& info, const QString& objectName) override;
  void PaintEdit(uint8_t kind, TCanvas& canvas, const TteEditInfo& info,
                 const QString& objectName) override;
  void PaintEditButton(uint8_t kind, TCanvas& canvas, const TteEditButtonInfo& info,
                       const QString& objectName) override;
  bool HasGroupBox(uint8_t kind, const QString& objectName) override;
  bool IsGroupBoxTransparent(uint8_t kind, const QString& objectName) override;
  TRect GroupBoxContentRect(uint8_t kind, const TteGroupBoxInfo& info,
                            const QString& objectName) override;
  // Leaves the canvas clip as it found it.
  void PaintGroupBox(uint8_t kind, TCanvas& canvas, const TteGroupBoxInfo& info,
                     const QString& objectName) override;

  // ---- text area
  bool HasTextArea(uint8_t kind, const QString& objectName) override;
  bool IsTextAreaTransparent(uint8_t kind, const QString& objectName) override;
  TRect TextAreaContentRect(uint8_t kind, const TteRectByteInfo& info,
                            const QString& objectName) override;
  void PaintTextArea(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                     const QString& objectName) override;
  bool HasTextAreaPart(uint8_t kind, const QString& objectName) override;
  TRect TextAreaPartContentRect(uint8_t kind, const TteRectByteInfo& info,
                                const QString& objectName) override;
  void PaintTextAreaPart(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                         const QString& objectName) override;

  // ---- menu
  bool HasMenu(uint8_t kind, const QString& objectName) override;
  bool IsMenuTransparent(uint8_t kind, const QString& objectName) override;
  TRect MenuContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintMenu(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  void PaintMenuItem(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                     const QString& objectName) override;
  // Never changes the glyph's bitmap.
  void PaintMenuItemGlyph(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                          const TteItemGlyphInfo& glyph, const QString& objectName) override;

  // ---- dock, tool bar, scroll box
  bool HasDock(uint8_t kind, const QString& objectName) override;
  TRect DockContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintDock(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  bool HasTool(uint8_t kind, const QString& objectName) override;
  void PaintTool(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  void PaintToolButton(uint8_t kind, TCanvas& canvas, const TteToolButtonInfo& info,
                       const QString& objectName) override;
  // Image and icon only; never changes the glyph's bitmap.
  void PaintToolButtonGlyph(uint8_t kind, TCanvas& canvas, const TteToolButtonInfo& info,
                            const TteItemGlyphInfo& glyph, const QString& objectName) override;
  bool HasScrollBox(uint8_t kind, const QString& objectName) override;
  TRect ScrollBoxContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintScrollBox(uint8_t kind, TCanvas& canvas, const TRect& rect,
                      const QString& objectName) override;

  // ---- collapse panel
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
  // Nothing: the caption and buttons are all this theme draws of a collapse panel.
  void PaintCollapsePanelPart(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                              const QString& objectName) override;

  // ---- tab
  bool HasTab(uint8_t kind, const QString& objectName) override;
  bool IsTabTransparent(uint8_t kind, const QString& objectName) override;
  TRect TabContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintTabPage(uint8_t kind, TCanvas& canvas, const TRect& rect,
                    const QString& objectName) override;
  // An active tab leaves its edge towards the page unpainted; the clip is restored.
  void PaintTab(uint8_t kind, TCanvas& canvas, const TteTabInfo& info,
                const QString& objectName) override;
  void PaintTabScrollButton(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                            const QString& objectName) override;
  void PaintTabText(uint8_t kind, TCanvas& canvas, const TteTabInfo& info,
                    const TteTextInfo& text, const QString& objectName) override;

  // ---- list, tree, grid
  bool HasList(uint8_t kind, const QString& objectName) override;
  bool IsListTransparent(uint8_t kind, const QString& objectName) override;
  TRect ListContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintList(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  void PaintListItem(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                     const QString& objectName) override;
  void PaintListItemCheck(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                          const TteListCheckInfo& check, const QString& objectName) override;
  bool HasTree(uint8_t kind, const QString& objectName) override;
  bool IsTreeTransparent(uint8_t kind, const QString& objectName) override;
  TRect TreeContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintTree(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  void PaintTreeItem(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                     const QString& objectName) override;
  bool HasGrid(uint8_t kind, const QString& objectName) override;
  bool IsGridTransparent(uint8_t kind, const QString& objectName) override;
  TRect GridContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintGrid(uint8_t kind, TCanvas& canvas, const TRect& rect,
                 const QString& objectName) override;
  void PaintGridCell(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                     const QString& objectName) override;

 protected:
  // A row of a default table: the entries it names and what they get.
  struct ColorDefault {
    std::vector<int> Indices;
    TColor Color;
  };
  struct FontDefault {
    std::vector<int> Indices;
    int Size;
    TColor Color;
    bool Bold;
  };
  // Entries no row names keep what they hold. The fonts are always shifted by the
  // theme's hue and brightness; the colours only when shift is true.
  void FillColors(const std::vector<ColorDefault>& table, bool shift);
  void FillFonts(const std::vector<FontDefault>& table);

 private:
  TColor Color(int index) const { return Colors().GetColor(index); }
  // Fill with c and outline in Border; nothing for an empty rectangle.
  void FillFramed(TCanvas& canvas, const TRect& r, TColor c) const;
  // The check mark of check boxes and list checks, centred on box, in Border.
  void PaintCheckMark(TCanvas& canvas, const TRect& box) const;
  // The image and icon glyphs shared by menus and tool buttons.
  void PaintImageGlyph(TCanvas& canvas, const TteItemGlyphInfo& glyph) const;
};

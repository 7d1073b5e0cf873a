// TTeSkinFile: the theme kind that paints from a skin file. Each element operation finds
// a skin object (the one the caller names, else the skin's standard object of the
// element's family), gives it the request's state and rectangle, and paints it, asks it
// for a region or reads the bounds of one of its parts; without an object the base
// theme answers.
#pragma once

#include <array>
#include <memory>

#include "se_source.h"
#include "te_theme.h"

class TTeSkinFile : public TteTheme {
 public:
  TTeSkinFile();
  ~TTeSkinFile() override;

  static const TteThemeClass& ThemeClass();
  const TteThemeClass& Class() const override { return ThemeClass(); }
  static std::unique_ptr<TteTheme> Create();
  static QString GetThemeKindName();
  static TteThemeConfig GetThemeConfig();
  // A registered filter's signature, or the marker "OVLZ" of a packed body without one.
  static bool IsThemeStream(QIODevice& stream);

  // The skin as loaded, and the working copy every look-up uses (hue and brightness are
  // applied to it on each reset).
  TSeSkinSource& Source() { return *source_; }
  const TSeSkinSource& Source() const { return *source_; }
  TSeSkinSource& WorkSource() { return *work_; }

  // Loads read into a fresh skin and take it only when it read whole and has a root
  // object; otherwise they answer false and the skin in force stays.
  bool LoadFromStream(QIODevice& stream) override;
  bool SaveToStream(QIODevice& stream) const override;
  bool LoadFromFile(const QString& fileName) override;
  // The variant follows the extension; any other extension gets the maximum filter.
  bool SaveToFile(const QString& fileName) const override;
  void Assign(const TteTheme& source) override;
  void ResetTheme() override;
  void SetDefaultColors() override;
  void SetDefaultFonts() override;
  virtual void RebuildCache();

  // The standard objects by entry (see the .cpp); null where the skin has none.
  TSeSkinObject* CacheEntry(int index) const;
  static constexpr int kCacheSize = 50;

  // ---- window
  bool HasWindow(uint8_t kind, const QString& objectName) override;
  std::optional<QRegion> GetWindowRegion(uint8_t kind, const TRect& rect,
                                         const QString& objectName) override;
  int WindowHitTest(uint8_t kind, const TteWindowInfo& info, int x, int y,
                    const QString& objectName) override;
  TRect WindowContentRect(uint8_t kind, const TteWindowInfo& info, const QString& objectName) override;
  TRect WindowCaptionRect(uint8_t kind, const TteWindowInfo& info, const QString& objectName) override;
  TRect WindowButtonRect(uint8_t kind, const TteWindowInfo& info, int button,
                         const QString& objectName) override;
  void PaintWindow(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                   const QString& objectName) override;
  void PaintWindowClient(uint8_t kind, TCanvas& canvas, const TRect& rect,
                         const QString& objectName) override;
  void PaintWindowCaption(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                          const TRect& rect, const QString& objectName) override;
  void PaintWindowButton(uint8_t kind, TCanvas& canvas, const TteWindowButtonInfo& info,
                         const QString& objectName) override;
  void PaintWindowGripper(uint8_t kind, TCanvas& canvas, const TteGripInfo& info,
                          const QString& objectName) override;

  // ---- hint, label, panel
  bool HasHint(uint8_t kind, const QString& objectName) override;
  TRect HintContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintHint(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  bool HasLabel(uint8_t kind, const QString& objectName) override;
  bool HasPanel(uint8_t kind, const QString& objectName) override;
  TRect PanelContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintPanel(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;

  // ---- button, check box
  bool HasButton(uint8_t kind, const QString& objectName) override;
  bool IsButtonTransparent(uint8_t kind, const QString& objectName) override;
  void PaintButton(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                   const QString& objectName) override;
  void PaintButtonText(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                       const TteTextInfo& text, const QString& objectName) override;
  bool HasCheckBox(uint8_t kind, const QString& objectName) override;
  bool IsCheckBoxTransparent(uint8_t kind, const QString& objectName) override;
  void PaintCheckBox(uint8_t kind, TCanvas& canvas, const TteCheckBoxInfo& info,
                     const QString& objectName) override;
  TPoint CheckBoxSize(uint8_t kind, const QString& objectName) override;

  // ---- splitter, scroll bar, progress bar, track bar
  bool HasSplitter(uint8_t kind, const QString& objectName) override;
  void PaintSplitter(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  bool HasScrollBar(uint8_t kind, const QString& objectName) override;
  bool IsScrollBarTransparent(uint8_t kind, const QString& objectName) override;
  void PaintScrollBar(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  void PaintScrollBarPart(uint8_t kind, TCanvas& canvas, const TteScrollPartInfo& info,
                          const QString& objectName) override;
  void PaintScrollBarTrack(uint8_t kind, TCanvas& canvas, const TteScrollPartInfo& info,
                           const QString& objectName) override;
  bool HasProgressBar(uint8_t kind, const QString& objectName) override;
  bool IsProgressBarTransparent(uint8_t kind, const QString& objectName) override;
  void PaintProgressBar(uint8_t kind, TCanvas& canvas, const TteProgressInfo& info,
                        const QString& objectName) override;
  bool HasTrackBar(uint8_t kind, const QString& objectName) override;
  bool IsTrackBarTransparent(uint8_t kind, const QString& objectName) override;
  void PaintTrackBar(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  void PaintTrackBarTrack(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                          const QString& objectName) override;
  void PaintTrackBarThumb(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                          const QString& objectName) override;

  // ---- header, status bar
  bool HasHeader(uint8_t kind, const QString& objectName) override;
  void PaintHeader(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  void PaintHeaderSection(uint8_t kind, TCanvas& canvas, const TteHeaderSectionInfo& info,
                          const QString& objectName) override;
  bool HasStatusBar(uint8_t kind, const QString& objectName) override;
  void PaintStatusBar(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  void PaintStatusPanel(uint8_t kind, TCanvas& canvas, const TteStatusPanelInfo& info,
                        const QString& objectName) override;
  void PaintStatusPanelText(uint8_t kind, TCanvas& canvas, const TteStatusPanelInfo& info,
                            const TteTextInfo& text, const QString& objectName) override;

  // ---- edit, group box, text area
  bool HasEdit(uint8_t kind, const QString& objectName) override;
  TRect EditContentRect(uint8_t kind, const TteEditInfo& info, const QString& objectName) override;
  void PaintEdit(uint8_t kind, TCanvas& canvas, const TteEditInfo& info, const QString& objectName) override;
  void PaintEditButton(uint8_t kind, TCanvas& canvas, const TteEditButtonInfo& info,
                       const QString& objectName) override;
  bool HasGroupBox(uint8_t kind, const QString& objectName) override;
  bool IsGroupBoxTransparent(uint8_t kind, const QString& objectName) override;
  void PaintGroupBox(uint8_t kind, TCanvas& canvas, const TteGroupBoxInfo& info,
                     const QString& objectName) override;
  bool HasTextArea(uint8_t kind, const QString& objectName) override;
  TRect TextAreaContentRect(uint8_t kind, const TteRectByteInfo& info, const QString& objectName) override;
  void PaintTextArea(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                     const QString& objectName) override;
  bool HasTextAreaPart(uint8_t kind, const QString& objectName) override;
  bool IsTextAreaPartTransparent(uint8_t kind, const QString& objectName) override;

  // ---- menu, dock, tool bar, scroll box
  bool HasMenu(uint8_t kind, const QString& objectName) override;
  TRect MenuContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintMenu(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  void PaintMenuItem(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                     const QString& objectName) override;
  void PaintMenuItemGlyph(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                          const TteItemGlyphInfo& glyph, const QString& objectName) override;
  bool HasDock(uint8_t kind, const QString& objectName) override;
  TRect DockContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintDock(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  bool HasTool(uint8_t kind, const QString& objectName) override;
  void PaintTool(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  void PaintToolButton(uint8_t kind, TCanvas& canvas, const TteToolButtonInfo& info,
                       const QString& objectName) override;
  bool HasScrollBox(uint8_t kind, const QString& objectName) override;
  TRect ScrollBoxContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintScrollBox(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;

  // ---- collapse panel, tabs
  bool HasCollapsePanel(uint8_t kind, const QString& objectName) override;
  bool IsCollapsePanelTransparent(uint8_t kind, const QString& objectName) override;
  TRect CollapsePanelContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintCollapsePanel(uint8_t kind, TCanvas& canvas, const TRect& rect,
                          const QString& objectName) override;
  void PaintCollapsePanelCaption(uint8_t kind, TCanvas& canvas, const TteRectByteInfo& info,
                                 const QString& objectName) override;
  void PaintCollapsePanelButton(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                                const QString& objectName) override;
  bool HasTab(uint8_t kind, const QString& objectName) override;
  TRect TabContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintTabPage(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  // Top tabs from "TabTop", left from "TabLeft", right from "TabRight", bottom from
  // "TabBottom", else from "Tab" painted as a top tab and turned to the tab's side.
  void PaintTab(uint8_t kind, TCanvas& canvas, const TteTabInfo& info, const QString& objectName) override;
  void PaintTabScrollButton(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                            const QString& objectName) override;
  void PaintTabText(uint8_t kind, TCanvas& canvas, const TteTabInfo& info, const TteTextInfo& text,
                    const QString& objectName) override;

  // ---- list, tree, grid
  bool HasList(uint8_t kind, const QString& objectName) override;
  TRect ListContentRect(uint8_t kind, const TRect& rect, const QString& objectName) override;
  void PaintList(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  void PaintListItem(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                     const QString& objectName) override;
  void PaintListItemCheck(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                          const TteListCheckInfo& check, const QString& objectName) override;
  bool HasTree(uint8_t kind, const QString& objectName) override;
  void PaintTree(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  void PaintTreeItem(uint8_t kind, TCanvas& canvas, const TteListItemInfo& info,
                     const QString& objectName) override;
  bool HasGrid(uint8_t kind, const QString& objectName) override;
  void PaintGrid(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString& objectName) override;
  void PaintGridCell(uint8_t kind, TCanvas& canvas, const TteStateWordInfo& info,
                     const QString& objectName) override;

  // ---- named extras
  TRect GetObjectBounds(const QString& objectName) override;
  TColor GetCustomColor(const QString& colorName) override;

 private:
  void FreeCacheCopies();
  // The skin's own object for one the cache stands in for.
  TSeSkinObject* Original(TSeSkinObject* o) const;
  TSeSkinObject* Named(const QString& objectName) const;
  TSeSkinObject* Family(const QString& objectName, int entry) const;
  // The window object and its copies for button rectangles (offset 2) and button
  // painting (offset 3): entries 0 and 30 plus the offset, or the named object.
  TSeSkinObject* WindowObject(uint8_t kind, const QString& objectName, int offset) const;
  // Sets state, buttons and bounds for reading caption-button rectangles.
  void PrepareButtons(TSeSkinObject& object, const TteWindowInfo& info);
  void BuildWindowEntries(const char* name, int base);

  std::unique_ptr<TSeSkinSource> source_;
  std::unique_ptr<TSeSkinSource> work_;
  std::array<TSeSkinObject*, kCacheSize> cache_{};
  // Entries 2, 3, 4 and 32, 33, 34 are copies owned here.
  std::array<std::unique_ptr<TSeSkinObject>, kCacheSize> copies_;
};

// TTeStatusBar and its panels: panels by width, view priority and stretch priority,
// each showing text or holding an embedded control.
#pragma once

#include <QPointer>
#include <memory>
#include <vector>

#include "te_button.h"
#include "te_control.h"

class TTeStatusBar;

// What the layout needs of a panel, and where it puts it.
struct TTeStatusPanelMeasure {
  int Width = 50;
  int MaxWidth = 10000;
  int ViewPriority = 100;
  int StretchPriority = 0;
};
struct TTeStatusPanelPlace {
  bool Visible = false;
  TRect Rect;
};
// Candidates are the panels with a view priority; too wide, the lowest priorities go
// first (never one of 100 or more, never the last candidate); width left over goes to
// the highest stretch priorities up to their MaxWidth; panels are placed from the
// content's left, and a stretching last panel reaches its right.
std::vector<TTeStatusPanelPlace> LayoutStatusPanels(const std::vector<TTeStatusPanelMeasure>& panels,
                                                    const TRect& content);

enum TTeStatusPanelStyle : uint8_t { psText, psOwnerDraw };
enum TTeStatusGliphLayout : uint8_t { sglGlyphLeft, sglGlyphRight };

// Where a panel's image and text go: Margin from the panel's edges, Spacing between
// them, the image on the side Layout names, both centred vertically; the pair is placed
// by the alignment (left, right, or centred as one block).
struct TTeStatusPanelContent {
  TRect Image;
  TRect Text;
};
TTeStatusPanelContent StatusPanelContent(const TRect& panel, int margin, int spacing, QSize image,
                                         int textWidth, int textHeight, TAlignment alignment,
                                         TTeStatusGliphLayout layout);

class TTeStatusPanel {
 public:
  explicit TTeStatusPanel(TTeStatusBar* bar) : bar_(bar) {}

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  bool Framed() const { return framed_; }
  void SetFramed(bool framed);
  QString Text() const { return text_; }
  void SetText(const QString& text);
  TTeStatusPanelStyle Style() const { return style_; }
  void SetStyle(TTeStatusPanelStyle style);
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  TTeStatusGliphLayout Layout() const { return layout_; }
  void SetLayout(TTeStatusGliphLayout layout);
  // An image of the bar's Images; an index outside the list draws none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  bool ShowImage() const { return showImage_; }
  void SetShowImage(bool show);
  // Limited to 0..MaxWidth; lowering MaxWidth lowers Width.
  int Width() const { return m_.Width; }
  void SetWidth(int width);
  int MaxWidth() const { return m_.MaxWidth; }
  void SetMaxWidth(int maxWidth);
  int ViewPriority() const { return m_.ViewPriority; }
  void SetViewPriority(int percent);
  int StretchPriority() const { return m_.StretchPriority; }
  void SetStretchPriority(int percent);
  // The embedded control, made a child of the bar and kept at the panel's content
  // rectangle. Embedding the bar or
  // one of its parents fails with "Can't insert own parent"; a control linked to another
  // panel leaves that one.
  QWidget* Control() const { return control_; }
  void SetControl(QWidget* control);
  // The text, else "[ " + control name + " ]".
  QString DisplayName() const;

  const TTeStatusPanelMeasure& Measure() const { return m_; }
  bool Visible() const { return place_.Visible; }
  const TRect& Rect() const { return place_.Rect; }

 private:
  friend class TTeStatusBar;
  TTeStatusBar* bar_;
  TTeStatusPanelMeasure m_;
  TTeStatusPanelPlace place_;
  TAlignment alignment_ = taLeftJustify;
  bool framed_ = true;
  QString text_;
  TTeStatusPanelStyle style_ = psText;
  int margin_ = 2;
  int spacing_ = 4;
  TTeStatusGliphLayout layout_ = sglGlyphLeft;
  int imageIndex_ = -1;
  bool showImage_ = true;
  QPointer<QWidget> control_;
};

class TTeStatusBar : public TTeControl {
  Q_OBJECT
 public:
  explicit TTeStatusBar(QWidget* parent = nullptr);
  ~TTeStatusBar() override;

  TTeStatusPanel* AddPanel();
  void RemovePanel(int index);
  int PanelCount() const { return int(panels_.size()); }
  TTeStatusPanel* Panel(int index) const;
  // The panel under a point of the bar, or null.
  TTeStatusPanel* PanelAt(QPoint point) const;
  TRect GetPanelRect(int index) const;
  // StatusBarContentRect with the theme, else the frame client rectangle.
  TRect ContentRect() const;
  void LayoutPanels();

  const TteImageList* Images() const { return images_; }
  void SetImages(const TteImageList* images);

  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool on);
  // Shown only with SizeGrip, in a sizeable window in its normal state whose
  // bottom-right corner is the bar's.
  bool SizeGripShown() const;
  // A square at the right end of the content rectangle; empty when not shown.
  TRect GetSizeGripRect() const;

  std::function<void(TTeStatusBar& sender, TTeStatusPanel& panel, const TRect& rect)> OnDrawPanel;
  std::function<void(TTeStatusBar& sender, TTeStatusPanel& panel)> OnPanelClick;
  std::function<void(TTeStatusBar& sender, TTeStatusPanel& panel)> OnPanelDblClick;

  void PaintFrame(TCanvas& canvas) override;
  void PaintBackground(TCanvas& canvas) override;
  void ThemeChanged(int code, intptr_t lParam) override;

 protected:
  void resizeEvent(QResizeEvent*) override { LayoutPanels(); }
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  // A widget made a child of the bar gets a panel of its own; one moved elsewhere takes
  // its panel with it (a destroyed one only leaves its panel empty).
  void childEvent(QChildEvent* e) override;

 private:
  friend class TTeStatusPanel;
  bool Themed() const { return ThemeHasStatusBar(0, ThemeObject(), ThemeLink()); }
  void PaintPanel(TCanvas& canvas, TTeStatusPanel& panel, bool last);
  void Unlink(QWidget* control);
  std::vector<std::unique_ptr<TTeStatusPanel>> panels_;
  TTeStatusPanel* pressed_ = nullptr;
  bool sizeGrip_ = true;
  bool embedding_ = false;  // set while SetControl re-parents a control itself
  const TteImageList* images_ = nullptr;
};

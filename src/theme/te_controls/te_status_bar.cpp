// The skinned status bar.
#include "te_status_bar.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QWindow>
#include <algorithm>
#include <numeric>

#include "te_accessibility.h"
#include "app_error.h"

std::vector<TTeStatusPanelPlace> LayoutStatusPanels(const std::vector<TTeStatusPanelMeasure>& panels,
                                                    const TRect& content) {
  const int n = int(panels.size());
  const int avail = content.Width();
  std::vector<TTeStatusPanelPlace> out(static_cast<size_t>(n));
  std::vector<int> working(static_cast<size_t>(n), 0);
  std::vector<int> candidates;
  for (int i = 0; i < n; ++i)
    if (panels[i].ViewPriority > 0) {
      candidates.push_back(i);
      working[i] = panels[i].Width;
      out[i].Visible = true;
    }
  const auto total = [&] {
    int sum = 0;
    for (int i : candidates) sum += working[i];
    return sum;
  };
  if (total() > avail) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](int a, int b) { return panels[a].ViewPriority > panels[b].ViewPriority; });
    while (total() > avail && candidates.size() >= 2) {
      const int last = candidates.back();
      if (panels[last].ViewPriority >= 100) break;
      out[last].Visible = false;
      candidates.pop_back();
    }
  }
  int left = avail - total();
  if (left > 0) {
    std::vector<int> stretchers;
    for (int i : candidates)
      if (panels[i].StretchPriority > 0) stretchers.push_back(i);
    std::stable_sort(stretchers.begin(), stretchers.end(),
                     [&](int a, int b) { return panels[a].StretchPriority > panels[b].StretchPriority; });
    for (int i : stretchers) {
      if (left <= 0) break;
      const int grown = working[i] + left;
      left = std::max(0, grown - panels[i].MaxWidth);
      working[i] = std::min(grown, panels[i].MaxWidth);
    }
  }
  int lastVisible = -1;
  for (int i = 0; i < n; ++i)
    if (out[i].Visible) lastVisible = i;
  int x = content.Left;
  for (int i = 0; i < n; ++i) {
    if (!out[i].Visible) continue;
    if (x - content.Left >= avail) {
      out[i].Visible = false;
      continue;
    }
    const int w = std::min(working[i], panels[i].MaxWidth);
    TRect r{x, content.Top, x + w, content.Bottom};
    if ((i == lastVisible || r.Right >= content.Right) && panels[i].StretchPriority != 0)
      r.Right = content.Right;
    out[i].Rect = r;
    x += w;
  }
  return out;
}

TTeStatusPanelContent StatusPanelContent(const TRect& panel, int margin, int spacing, QSize image,
                                         int textWidth, int textHeight, TAlignment alignment,
                                         TTeStatusGliphLayout layout) {
  const int left = panel.Left + margin, right = panel.Right - margin;
  const int iw = image.isEmpty() ? 0 : image.width();
  const int gap = iw > 0 && textWidth > 0 ? spacing : 0;
  const int tw = std::max(0, std::min(textWidth, right - left - iw - gap));
  const int block = iw + gap + tw;
  int x = left;
  if (alignment == taRightJustify) x = right - block;
  if (alignment == taCenter) x = left + (right - left - block) / 2;
  const int imageX = layout == sglGlyphLeft ? x : x + tw + gap;
  const int textX = layout == sglGlyphLeft ? x + iw + gap : x;
  TTeStatusPanelContent out;
  if (iw > 0)
    out.Image = Bounds(imageX, panel.Top + (panel.Height() - image.height()) / 2, iw, image.height());
  out.Text = Bounds(textX, panel.Top + (panel.Height() - textHeight) / 2, tw, textHeight);
  return out;
}

// ---- panels

void TTeStatusPanel::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  bar_->update();
}
void TTeStatusPanel::SetFramed(bool framed) {
  framed_ = framed;
  bar_->LayoutPanels();
}
void TTeStatusPanel::SetText(const QString& text) {
  if (text_ == text) return;
  text_ = text;
  bar_->update();
  NameChanged(bar_);
}
void TTeStatusPanel::SetStyle(TTeStatusPanelStyle style) {
  style_ = style;
  bar_->update();
}
void TTeStatusPanel::SetMargin(int margin) {
  margin_ = margin;
  bar_->update();
}
void TTeStatusPanel::SetSpacing(int spacing) {
  spacing_ = spacing;
  bar_->update();
}
void TTeStatusPanel::SetLayout(TTeStatusGliphLayout layout) {
  layout_ = layout;
  bar_->update();
}
void TTeStatusPanel::SetImageIndex(int index) {
  imageIndex_ = index;
  bar_->update();
}
void TTeStatusPanel::SetShowImage(bool show) {
  showImage_ = show;
  bar_->update();
}
void TTeStatusPanel::SetWidth(int width) {
  m_.Width = std::clamp(width, 0, m_.MaxWidth);
  bar_->LayoutPanels();
}
void TTeStatusPanel::SetMaxWidth(int maxWidth) {
  m_.MaxWidth = std::max(0, maxWidth);
  m_.Width = std::min(m_.Width, m_.MaxWidth);
  bar_->LayoutPanels();
}
void TTeStatusPanel::SetViewPriority(int percent) {
  m_.ViewPriority = percent;
  bar_->LayoutPanels();
}
void TTeStatusPanel::SetStretchPriority(int percent) {
  m_.StretchPriority = percent;
  bar_->LayoutPanels();
}

void TTeStatusPanel::SetControl(QWidget* control) {
  if (control_ == control) return;
  if (control) {
    for (QWidget* w = bar_; w; w = w->parentWidget())
      if (w == control) throw EAppError(QStringLiteral("Can't insert own parent"));
    bar_->Unlink(control);
  }
  control_ = control;
  if (control) {
    TTeStatusBar* bar = bar_;
    if (control->parentWidget() != bar) {
      bar->embedding_ = true;
      control->setParent(bar);
      bar->embedding_ = false;
    }
    QObject::disconnect(control, &QObject::destroyed, bar, nullptr);
    QObject::connect(control, &QObject::destroyed, bar, [bar] { bar->LayoutPanels(); });
  }
  bar_->LayoutPanels();
}

QString TTeStatusPanel::DisplayName() const {
  if (!text_.isEmpty()) return text_;
  return QStringLiteral("[ %1 ]").arg(control_ ? control_->objectName() : QString());
}

// ---- the bar

TTeStatusBar::TTeStatusBar(QWidget* parent) : TTeControl(parent) {
  SetPerformance(kspDoubleBuffer);
  setMouseTracking(true);  // the cursor over the size grip
  SetBevelInner(kbvSpace);
  SetBevelOuter(kbvRaised);
  SetBevelWidth(0);
  SetBorderWidth(2);
  resize(width(), 22);
}

TTeStatusBar::~TTeStatusBar() {
  // Qt frees the embedded controls after this body: they must not ask for a layout.
  for (auto& p : panels_)
    if (p->control_) QObject::disconnect(p->control_, &QObject::destroyed, this, nullptr);
}

TTeStatusPanel* TTeStatusBar::AddPanel() {
  panels_.push_back(std::make_unique<TTeStatusPanel>(this));
  LayoutPanels();
  return panels_.back().get();
}

void TTeStatusBar::RemovePanel(int index) {
  if (index < 0 || index >= PanelCount()) return;
  if (QWidget* c = panels_[size_t(index)]->control_) {
    QObject::disconnect(c, &QObject::destroyed, this, nullptr);
    c->raise();
    c->show();
  }
  if (pressed_ == panels_[size_t(index)].get()) pressed_ = nullptr;
  panels_.erase(panels_.begin() + index);
  LayoutPanels();
}

TTeStatusPanel* TTeStatusBar::Panel(int index) const {
  return index >= 0 && index < PanelCount() ? panels_[size_t(index)].get() : nullptr;
}

void TTeStatusBar::Unlink(QWidget* control) {
  for (auto& p : panels_)
    if (p->control_ == control) p->control_ = nullptr;
}

TRect TTeStatusBar::ContentRect() const {
  if (Themed()) return Theme()->StatusBarContentRect(0, {0, 0, width(), height()}, ThemeObject());
  return GetFrameClientRect();
}

void TTeStatusBar::LayoutPanels() {
  std::vector<TTeStatusPanelMeasure> measures;
  for (const auto& p : panels_) measures.push_back(p->m_);
  const std::vector<TTeStatusPanelPlace> places = LayoutStatusPanels(measures, ContentRect());
  for (size_t i = 0; i < panels_.size(); ++i) {
    TTeStatusPanel& p = *panels_[i];
    p.place_ = places[i];
    if (!p.control_) continue;
    TRect c = p.framed_ ? Inset(p.place_.Rect, 1) : p.place_.Rect;
    if (p.framed_) c.Right -= 2;
    p.control_->setGeometry(c.ToQRect());
    p.control_->setVisible(p.place_.Visible);
  }
  update();
}

TTeStatusPanel* TTeStatusBar::PanelAt(QPoint point) const {
  const TRect content = ContentRect();
  if (!content.Contains(point.x(), point.y())) return nullptr;
  for (const auto& p : panels_)
    if (p->place_.Visible && p->place_.Rect.Contains(point.x(), point.y())) return p.get();
  return nullptr;
}

TRect TTeStatusBar::GetPanelRect(int index) const {
  const TTeStatusPanel* p = Panel(index);
  return p && p->place_.Visible ? p->place_.Rect : TRect{};
}

void TTeStatusBar::SetImages(const TteImageList* images) {
  images_ = images;
  update();
}

void TTeStatusBar::SetSizeGrip(bool on) {
  if (sizeGrip_ == on) return;
  sizeGrip_ = on;
  update();
}

bool TTeStatusBar::SizeGripShown() const {
  const QWidget* form = window();
  if (!sizeGrip_ || form == this) return false;
  if (form->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return false;
  if (form->minimumSize() == form->maximumSize()) return false;  // not sizeable
  return mapTo(form, QPoint(width(), height())) == QPoint(form->width(), form->height());
}

TRect TTeStatusBar::GetSizeGripRect() const {
  if (!SizeGripShown()) return {};
  const TRect c = ContentRect();
  return {c.Right - c.Height(), c.Top, c.Right, c.Bottom};
}

void TTeStatusBar::ThemeChanged(int code, intptr_t) {
  if (code == ktcReplaced || code == ktcBecameCurrent || code == ktcRemoved) LayoutPanels();
  else if (code == ktcLookChanged) update();
}

void TTeStatusBar::PaintFrame(TCanvas& canvas) {
  if (!Themed()) TTeControl::PaintFrame(canvas);
}

void TTeStatusBar::PaintBackground(TCanvas& canvas) {
  const TRect whole{0, 0, width(), height()};
  if (Themed()) Theme()->PaintStatusBar(0, canvas, whole, QStringLiteral("default"));
  else FillRectColor(canvas, GetFrameClientRect(), ColorToRGB(Color()));
  int last = -1;
  for (int i = 0; i < PanelCount(); ++i)
    if (panels_[size_t(i)]->place_.Visible) last = i;
  for (int i = 0; i < PanelCount(); ++i)
    if (panels_[size_t(i)]->place_.Visible) PaintPanel(canvas, *panels_[size_t(i)], i == last);
  const TRect grip = GetSizeGripRect();
  if (grip.IsEmpty()) return;
  if (Themed())
    Theme()->PaintStatusPanel(0, canvas, StatusPanelInfo(grip, kspkSizeGrip), QStringLiteral("default"));
  else
    canvas.DrawFrameControl(grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void TTeStatusBar::PaintPanel(TCanvas& canvas, TTeStatusPanel& panel, bool last) {
  const TRect& r = panel.place_.Rect;
  const TteStatusPanelInfo info = StatusPanelInfo(r, last ? kspkPlain : kspkSeparated);
  TteTheme* theme = Themed() ? Theme() : nullptr;
  if (theme) {
    theme->PaintStatusPanel(0, canvas, info, QStringLiteral("default"));
  } else {
    FillRectColor(canvas, r, ColorToRGB(Color()));
    if (panel.framed_) DrawFrame3D(canvas, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
  }
  if (panel.style_ == psOwnerDraw) {
    if (OnDrawPanel) OnDrawPanel(*this, panel, r);
    return;
  }
  // The image, when the list has it.
  QSize imageSize;
  if (images_ && images_->Strip && panel.showImage_ && panel.imageIndex_ >= 0) {
    const int iw = images_->Width > 0 ? images_->Width : images_->Strip->height();
    if (iw > 0 && panel.imageIndex_ < images_->Strip->width() / iw) imageSize = QSize(iw, images_->Strip->height());
  }
  if (panel.text_.isEmpty() && imageSize.isEmpty()) return;
  canvas.Font = theme ? theme->Fonts().GetObjectFont(isEnabled() ? kfStatusPanelTextNormal : kfStatusPanelTextDisabled,
                                                    ThemeObject())
                      : PaintFont();
  canvas.Brush.Style = TBrushStyle::bsClear;
  const QString text = EllipsizeText(canvas, panel.text_, r.Width() - 4);
  const int textWidth = text.isEmpty() ? 0 : canvas.TextWidth(text);
  const TTeStatusPanelContent place =
      StatusPanelContent(r, panel.margin_, panel.spacing_, imageSize, textWidth,
                         text.isEmpty() ? 0 : canvas.TextHeight(text), panel.alignment_, panel.layout_);
  if (!imageSize.isEmpty()) {
    const TteGlyphInfo glyph = GlyphInfo(place.Image, *images_, panel.imageIndex_, isEnabled() ? 0 : 3);
    if (theme) theme->PaintStatusPanelGlyph(0, canvas, info, glyph, QStringLiteral("default"));
    else if (glyph.Bitmap) glyph.Bitmap->Draw(canvas, place.Image.Left, place.Image.Top);
  }
  if (text.isEmpty()) return;
  const uint32_t flags = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  if (theme) {
    theme->PaintStatusPanelText(0, canvas, info, TextInfo(place.Text, text, flags), QStringLiteral("default"));
  } else {
    TRect t = place.Text;
    canvas.DrawText(text, t, flags);
  }
}

void TTeStatusBar::childEvent(QChildEvent* e) {
  TTeControl::childEvent(e);
  QObject* child = e->child();
  if (embedding_ || !child->isWidgetType()) return;
  auto* widget = static_cast<QWidget*>(child);
  if (e->added()) {
    for (const auto& p : panels_)
      if (p->control_ == widget) return;
    // The child is still being built (this arrives from its QWidget constructor): link it
    // now and lay it out once the event loop runs.
    panels_.push_back(std::make_unique<TTeStatusPanel>(this));
    panels_.back()->control_ = widget;
    connect(widget, &QObject::destroyed, this, [this] { LayoutPanels(); });
    QMetaObject::invokeMethod(this, [this] { LayoutPanels(); }, Qt::QueuedConnection);
  } else if (e->removed()) {
    // A destroyed child's pointer is already cleared, so only a re-parented one matches.
    for (int i = 0; i < PanelCount(); ++i)
      if (panels_[size_t(i)]->control_ == widget) {
        QObject::disconnect(widget, &QObject::destroyed, this, nullptr);
        panels_[size_t(i)]->control_ = nullptr;
        RemovePanel(i);
        return;
      }
  }
}

void TTeStatusBar::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  setCursor(GetSizeGripRect().Contains(p.x(), p.y()) ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
  TTeControl::mouseMoveEvent(e);
}

void TTeStatusBar::mousePressEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  if (e->button() == Qt::LeftButton && GetSizeGripRect().Contains(at.x(), at.y())) {
    // The window system sizes the window from its bottom-right corner; a skinned
    // frame will take this over with its own sizing.
    if (QWindow* w = window()->windowHandle()) w->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
    return;
  }
  if (e->button() == Qt::LeftButton) pressed_ = PanelAt(e->position().toPoint());
  TTeControl::mousePressEvent(e);
}

void TTeStatusBar::mouseReleaseEvent(QMouseEvent* e) {
  TTeStatusPanel* p = PanelAt(e->position().toPoint());
  if (e->button() == Qt::LeftButton && p && p == pressed_ && OnPanelClick) OnPanelClick(*this, *p);
  pressed_ = nullptr;
  TTeControl::mouseReleaseEvent(e);
}

void TTeStatusBar::mouseDoubleClickEvent(QMouseEvent* e) {
  if (TTeStatusPanel* p = PanelAt(e->position().toPoint()); p && OnPanelDblClick) OnPanelDblClick(*this, *p);
  TTeControl::mouseDoubleClickEvent(e);
}

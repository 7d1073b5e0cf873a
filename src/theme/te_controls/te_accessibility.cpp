#include "te_accessibility.h"

#include <QAccessibleWidget>

#include "te_group_box.h"
#include "te_label.h"
#include "te_progress_bar.h"
#include "te_status_bar.h"

namespace {

class TProgressAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit TProgressAccessible(TTeProgressBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                            : QAccessibleWidget::interface_cast(t);
  }
  QVariant currentValue() const override { return Bar()->Position(); }
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return Bar()->Max(); }
  QVariant minimumValue() const override { return Bar()->Min(); }
  QVariant minimumStepSize() const override { return Bar()->Step(); }

 private:
  TTeProgressBar* Bar() const { return static_cast<TTeProgressBar*>(widget()); }
};

class TStatusBarAccessible : public QAccessibleWidget {
 public:
  explicit TStatusBarAccessible(TTeStatusBar* bar) : QAccessibleWidget(bar, QAccessible::StatusBar) {}
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty()) return QAccessibleWidget::text(t);
    const auto* bar = static_cast<const TTeStatusBar*>(widget());
    QStringList texts;
    for (int i = 0; i < bar->PanelCount(); ++i)
      if (!bar->Panel(i)->Text().isEmpty()) texts << bar->Panel(i)->Text();
    return texts.join(QStringLiteral(", "));
  }
};

// A control named by its caption.
template <typename Control>
class TCaptionAccessible : public QAccessibleWidget {
 public:
  TCaptionAccessible(Control* control, QAccessible::Role role) : QAccessibleWidget(control, role) {}
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty()) return QAccessibleWidget::text(t);
    return AccessibleCaption(static_cast<const Control*>(widget())->Caption());
  }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  if (auto* label = qobject_cast<TTeLabel*>(object))
    return new TCaptionAccessible<TTeLabel>(label, QAccessible::StaticText);
  if (auto* group = qobject_cast<TTeGroupBox*>(object))
    return new TCaptionAccessible<TTeGroupBox>(group, QAccessible::Grouping);
  if (auto* bar = qobject_cast<TTeProgressBar*>(object)) return new TProgressAccessible(bar);
  if (auto* bar = qobject_cast<TTeStatusBar*>(object)) return new TStatusBarAccessible(bar);
  return nullptr;
}

}  // namespace

void InstallControlAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

void NameChanged(QObject* control) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(control, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

QString AccessibleCaption(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    else if (caption[i] == u'&') continue;
    out += caption[i];
  }
  return out.trimmed();
}

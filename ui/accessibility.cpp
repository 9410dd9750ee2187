// SPDX-License-Identifier: MIT
#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "ui/hyperlink.h"
#include "ui/status_bar.h"

namespace {

class AccessibleStatusBar : public QAccessibleWidget {
 public:
  explicit AccessibleStatusBar(CStatusBar* bar) : QAccessibleWidget(bar, QAccessible::StatusBar) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Value) return QAccessibleWidget::text(kind);
    const auto* bar = static_cast<const CStatusBar*>(widget());
    QStringList texts;
    for (int pane = 0; pane < bar->PaneCount(); ++pane) {
      if (!bar->PaneText(pane).isEmpty()) texts << bar->PaneText(pane);
    }
    return texts.join(QStringLiteral(", "));
  }
};

// A link control is a link, named by its text unless it was given a name.
class AccessibleLink : public QAccessibleWidget {
 public:
  explicit AccessibleLink(CHyperLink* link) : QAccessibleWidget(link, QAccessible::Link) {}

  QString text(QAccessible::Text kind) const override {
    const QString given = QAccessibleWidget::text(kind);
    if (kind != QAccessible::Name || !given.isEmpty()) return given;
    return static_cast<const CHyperLink*>(widget())->text();
  }
};

QAccessibleInterface* ControlFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("CStatusBar")) {
    auto* bar = qobject_cast<CStatusBar*>(object);
    return bar ? new AccessibleStatusBar(bar) : nullptr;
  }
  if (className == QLatin1String("CHyperLink")) {
    auto* link = qobject_cast<CHyperLink*>(object);
    return link ? new AccessibleLink(link) : nullptr;
  }
  return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(ControlFactory);
}

void NameControl(QWidget* control, const QString& name, const QString& description) {
  control->setAccessibleName(name);
  if (!description.isEmpty()) control->setAccessibleDescription(description);
}

void AnnounceValueChange(QWidget* widget) {
  if (!QAccessible::isActive()) return;
  QAccessibleValueChangeEvent event(widget, QVariant());
  QAccessible::updateAccessibility(&event);
}

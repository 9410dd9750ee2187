// SPDX-License-Identifier: MIT
#include "ui/context_help.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QWhatsThis>
#include <optional>

#include "ui/string_table_texts.h"

namespace {

// The controls that have a context-help text, by object name, and the string id of the text.
// The ids are those of the dialog template's controls, which also key the string table.
struct HelpEntry {
  const char* objectName;
  int textId;
};
constexpr HelpEntry kHelpTexts[] = {
    {"exitButton", 1},
    {"txtPathEdit", 1002},
    {"browseTxtButton", 1003},
    {"tmxPathEdit", 1004},
    {"browseTmxButton", 1005},
    {"protectButton", 1006},
    {"aboutButton", 1008},
    {"sourceLanguageList", 1010},
    {"targetLanguageList", 1011},
    {"sourceEncodingList", 1012},
    {"targetEncodingList", 1013},
    {"analyseButton", 1015},
};

// The help text of a control with this object name; nothing when it has none.
std::optional<QString> HelpText(const QString& objectName) {
  for (const HelpEntry& entry : kHelpTexts) {
    if (objectName == QLatin1String(entry.objectName)) {
      return UiText(entry.textId);
    }
  }
  return std::nullopt;
}

}  // namespace

const QColor CHelpPopup::kBackground(255, 255, 208);

CHelpPopup::CHelpPopup(const QString& text, QWidget* parent)
    : QLabel(text, parent, Qt::Popup | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("contextHelpPopup"));
  setAttribute(Qt::WA_DeleteOnClose);
  setTextFormat(Qt::PlainText);
  setWordWrap(true);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setMargin(6);
  setMaximumWidth(320);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kBackground);
  colours.setColor(QPalette::WindowText, Qt::black);
  setPalette(colours);
  setAutoFillBackground(true);
}

void CHelpPopup::mousePressEvent(QMouseEvent* /*event*/) {
  close();
}
void CHelpPopup::keyPressEvent(QKeyEvent* /*event*/) {
  close();
}

ContextHelp::ContextHelp(QWidget* dialog) : QObject(dialog), m_dialog(dialog) {
  for (QWidget* child : dialog->findChildren<QWidget*>()) child->installEventFilter(this);
  dialog->installEventFilter(this);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, &ContextHelp::ShowHelpForFocus);
}

QString ContextHelp::HelpTextFor(const QWidget* widget) const {
  for (const QWidget* w = widget; w && w != m_dialog; w = w->parentWidget()) {
    if (const std::optional<QString> text = HelpText(w->objectName())) return *text;
  }
  return {};
}

bool ContextHelp::ShowHelp(const QWidget* widget, const QPoint& globalPos) {
  if (m_popup) m_popup->close();
  const QString text = HelpTextFor(widget);
  if (text.isEmpty()) return false;
  auto* popup = new CHelpPopup(text, m_dialog);
  popup->adjustSize();
  QPoint at = globalPos;
  if (const QScreen* screen = QGuiApplication::screenAt(globalPos)) {
    const QRect room = screen->availableGeometry();
    at.setX(qMin(at.x(), room.right() - popup->width()));
    at.setY(qMin(at.y(), room.bottom() - popup->height()));
  }
  popup->move(at);
  popup->show();
  m_popup = popup;
  return true;
}

void ContextHelp::ShowHelpForFocus() {
  QWidget* focus = QApplication::focusWidget();
  if (focus && (focus == m_dialog || m_dialog->isAncestorOf(focus))) {
    // At the control, under its left end: the keyboard user's eyes are there, not at the mouse.
    ShowHelp(focus, focus->mapToGlobal(QPoint(0, focus->height())));
  }
}

bool ContextHelp::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::QueryWhatsThis) {
    event->accept();
    return true;
  }
  if (event->type() == QEvent::WhatsThis) {
    auto* help = static_cast<QHelpEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget) ShowHelp(widget, help->globalPos());
    if (QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
    event->accept();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

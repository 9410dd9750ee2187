// SPDX-License-Identifier: MIT
#include "ui/hyperlink.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/user_prompts.h"

namespace {

constexpr int kOpenSucceeded = 33;  // opener results above 32 mean success
constexpr int kNoAssociation = 31;  // the desktop has no handler for the target

int OpenWithDesktop(const QString& target) {
  const QUrl url = QUrl::fromUserInput(target);
  if (!url.isValid()) return 2;
  return QDesktopServices::openUrl(url) ? kOpenSucceeded : kNoAssociation;
}

CHyperLink::Opener& TheOpener() {
  static CHyperLink::Opener opener = OpenWithDesktop;
  return opener;
}

}  // namespace

const QColor CHyperLink::kLinkColour(0, 0, 255);
const QColor CHyperLink::kActiveColour(0, 128, 128);
const QColor CHyperLink::kVisitedColour(128, 0, 128);
const QColor CHyperLink::kHoverColour(255, 0, 0);

CHyperLink::CHyperLink(const QString& caption, QWidget* parent, unsigned style)
    : QLabel(caption, parent), m_style(style) {
  setTextFormat(Qt::PlainText);
  // Reached with Tab like a button, and opened with Space.
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(false);
  if (m_target.isEmpty()) m_target = text();
  if (text().isEmpty()) setText(m_target);
  ApplyLinkFont();
  if (!(m_style & StyleNoHandCursor)) setCursor(Qt::PointingHandCursor);
  setToolTip(m_target);
  UpdateColour();
}

void CHyperLink::SetURL(const QString& target) {
  m_target = target;
  setToolTip(m_target);
  if (m_positioned) PositionWindow();
}

void CHyperLink::ApplyLinkFont() {
  QFont linkFont;
  linkFont.setUnderline((m_style & StyleUnderline) != 0);
  m_applyingFont = true;
  setFont(linkFont);
  m_applyingFont = false;
}

QColor CHyperLink::CurrentColour() const {
  if (m_overControl && (m_style & StyleUseHover)) return kHoverColour;
  if (!(m_style & StyleNoActiveColor) && m_active) return kActiveColour;
  return m_visited ? kVisitedColour : kLinkColour;
}

void CHyperLink::UpdateColour() {
  QPalette colours = palette();
  const QColor colour = CurrentColour();
  if (colours.color(QPalette::WindowText) == colour) return;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    colours.setColor(group, QPalette::WindowText, colour);
  }
  setPalette(colours);
}

void CHyperLink::PositionWindow() {
  if (!(m_style & StyleAutoSize)) return;
  const QFontMetrics metrics(font());
  const QSize textSize = metrics.size(Qt::TextSingleLine, text());
  const int chrome = 2 * (frameWidth() + margin());
  const int textWidth = textSize.width() + chrome;
  const int textHeight = textSize.height() + chrome;

  QRect place = geometry();
  const Qt::Alignment align = alignment();
  if (align & Qt::AlignVCenter) {
    const int d = (place.height() - textHeight) / 2;
    place.adjust(0, d, 0, -d);
  } else {
    place.setHeight(textHeight);
  }
  if (align & Qt::AlignHCenter) {
    const int d = (place.width() - textWidth) / 2;
    place.adjust(d, 0, -d, 0);
  } else if (align & Qt::AlignRight) {
    place.setLeft(place.left() + place.width() - textWidth);
  } else {
    place.setWidth(textWidth);
  }
  // A layout that manages the link re-places it with the alignment it was given.
  setFixedSize(place.size());
  move(place.topLeft());
}

void CHyperLink::FollowLink() {
  const int result = GotoURL(m_target);
  if (result <= 32) {
    QApplication::beep();
    ReportError(result);
    return;
  }
  m_visited = true;
  UpdateColour();
}

int CHyperLink::GotoURL(const QString& target) {
  return TheOpener()(target);
}

void CHyperLink::SetOpener(Opener opener) {
  TheOpener() = opener ? std::move(opener) : Opener(OpenWithDesktop);
}

void CHyperLink::ReportError(int code) {
  UserPrompts::ShowMessage(this, ErrorMessage(code, m_target), PromptIcon::Exclamation,
                           PromptButtons::Ok);
}

void CHyperLink::showEvent(QShowEvent* event) {
  QLabel::showEvent(event);
  if (!m_positioned) {
    m_positioned = true;
    PositionWindow();
  }
}

void CHyperLink::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange && m_positioned && !m_applyingFont) PositionWindow();
}

void CHyperLink::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  m_overControl = true;
  UpdateColour();
}

void CHyperLink::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  m_overControl = false;
  UpdateColour();
}

void CHyperLink::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  if (m_style & StyleGetFocusOnClick) setFocus(Qt::MouseFocusReason);
  if (m_style & StyleDownClick) FollowLink();
  m_active = true;
  UpdateColour();
  event->accept();
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mouseReleaseEvent(event);
    return;
  }
  if (m_active && !(m_style & StyleDownClick)) FollowLink();
  event->accept();
}

void CHyperLink::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space) {
    FollowLink();
    event->accept();
    return;
  }
  QLabel::keyPressEvent(event);
}

void CHyperLink::focusInEvent(QFocusEvent* event) {
  QLabel::focusInEvent(event);
  m_active = true;
  UpdateColour();
}

void CHyperLink::focusOutEvent(QFocusEvent* event) {
  QLabel::focusOutEvent(event);
  m_active = false;
  m_overControl = false;
  UpdateColour();
}

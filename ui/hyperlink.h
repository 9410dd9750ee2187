// SPDX-License-Identifier: MIT
// CHyperLink: a text label that acts as a link: underlined, coloured by its state (link, active,
// visited, hover), a hand cursor, a tool tip with the target, and a click (or the space bar)
// opens the target with the desktop's handler. With auto-size the label shrinks to its text.
#pragma once

#include <QColor>
#include <QLabel>
#include <QUrl>
#include <functional>

class CHyperLink : public QLabel {
  Q_OBJECT

 public:
  // Style bits.
  static constexpr unsigned StyleUnderline = 0x01;        // underlined font
  static constexpr unsigned StyleUseHover = 0x02;         // hover colour under the mouse
  static constexpr unsigned StyleAutoSize = 0x04;         // shrink the control to its text
  static constexpr unsigned StyleDownClick = 0x08;        // open on press instead of release
  static constexpr unsigned StyleGetFocusOnClick = 0x10;  // take the focus when pressed
  static constexpr unsigned StyleNoHandCursor = 0x20;     // keep the normal cursor
  static constexpr unsigned StyleNoActiveColor = 0x40;    // never use the active colour
  static constexpr unsigned kDefaultStyle = StyleUnderline | StyleAutoSize | StyleGetFocusOnClick;

  // Colours shared by every link.
  static const QColor kLinkColour;     // blue
  static const QColor kActiveColour;   // teal
  static const QColor kVisitedColour;  // purple
  static const QColor kHoverColour;    // red

  explicit CHyperLink(const QString& caption = QString(), QWidget* parent = nullptr,
                      unsigned style = kDefaultStyle);

  // The target; the caption stays as it is. The tool tip shows the new target.
  void SetURL(const QString& target);
  QString GetURL() const { return m_target; }
  unsigned Style() const { return m_style; }
  // Opens the target; on failure beeps and reports it, and the link is not marked visited.
  void FollowLink();
  // Shrinks the control around its text (with StyleAutoSize), keeping its alignment.
  void PositionWindow();

  bool IsActive() const { return m_active; }
  bool IsOverControl() const { return m_overControl; }
  bool IsVisited() const { return m_visited; }
  QColor CurrentColour() const;

  // The message for a failure code of the opener, in the desktop's words: the target is not a
  // valid address (code 2 or 3), or nothing on the desktop could open it.
  static QString ErrorMessage(int code, const QString& target);
  // How targets are opened: the desktop services unless a test replaced it. The opener returns
  // a result code: above 32 is success, otherwise one of the codes of ErrorMessage.
  using Opener = std::function<int(const QString& target)>;
  static void SetOpener(Opener opener);
  static int GotoURL(const QString& target);

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ApplyLinkFont();
  void UpdateColour();
  void ReportError(int code);

  bool m_active = false;
  bool m_overControl = false;
  bool m_visited = false;
  unsigned m_style;
  QString m_target;
  bool m_positioned = false;
  bool m_applyingFont = false;
};

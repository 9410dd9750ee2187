// SPDX-License-Identifier: MIT
// The link control: colours by state, when the target opens, what a failure shows, the tool
// tip and the auto-size.
#include "ui/hyperlink.h"

#include <QTest>
#include <QVBoxLayout>

#include "ui/user_prompts.h"
#include "ui_test_support.h"

namespace {

// Records the targets opened and answers with a fixed result code.
struct FakeOpener {
  QStringList opened;
  int result = 33;
  void Install() {
    CHyperLink::SetOpener([this](const QString& target) {
      opened << target;
      return result;
    });
  }
};

// A window holding a link and a second control to move the focus to.
struct Window {
  QWidget window;
  CHyperLink* link;
  QWidget* other;
  explicit Window(unsigned style = CHyperLink::kDefaultStyle) {
    auto* layout = new QVBoxLayout(&window);
    link = new CHyperLink(QStringLiteral("https://www.norvane.example/"), &window, style);
    other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(link);
    layout->addWidget(other);
    window.show();
  }
};

}  // namespace

class HyperlinkTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { uitest::InitEnvironment(); }
  void init() {
    UserPrompts::ClearLog();
    m_opener = FakeOpener();
    m_opener.Install();
  }
  void cleanupTestCase() { CHyperLink::SetOpener({}); }

  void looksLikeALink() {
    Window w;
    CHyperLink* link = w.link;
    QCOMPARE(link->CurrentColour(), QColor(0, 0, 255));
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(link->font().underline());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    // Without SetURL the caption is the target.
    QCOMPARE(link->GetURL(), QStringLiteral("https://www.norvane.example/"));
    QCOMPARE(link->toolTip(), QStringLiteral("https://www.norvane.example/"));
    link->SetURL(QStringLiteral("https://www.norvane.example/other/"));
    QCOMPARE(link->toolTip(), QStringLiteral("https://www.norvane.example/other/"));
    QCOMPARE(link->text(), QStringLiteral("https://www.norvane.example/"));
  }

  void colourStatesOfAClick() {
    Window w;
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    CHyperLink* link = w.link;
    QTest::mousePress(link, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    // Pressed: focused and active (teal), not yet opened.
    QVERIFY(link->hasFocus());
    QVERIFY(link->IsActive());
    QCOMPARE(link->CurrentColour(), QColor(0, 128, 128));
    QVERIFY(m_opener.opened.isEmpty());
    QTest::mouseRelease(link, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QCOMPARE(m_opener.opened, QStringList({QStringLiteral("https://www.norvane.example/")}));
    QVERIFY(link->IsVisited());
    QCOMPARE(link->CurrentColour(), QColor(0, 128, 128));  // still focused
    w.other->setFocus();
    QVERIFY(!link->IsActive());
    QCOMPARE(link->CurrentColour(), QColor(128, 0, 128));  // visited
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(128, 0, 128));
  }

  void hoverColourOnlyWithItsStyle_data() {
    QTest::addColumn<unsigned>("style");
    QTest::addColumn<QColor>("hovered");
    QTest::newRow("default style") << CHyperLink::kDefaultStyle << QColor(0, 0, 255);
    QTest::newRow("with hover") << (CHyperLink::kDefaultStyle | CHyperLink::StyleUseHover)
                                << QColor(255, 0, 0);
  }

  void hoverColourOnlyWithItsStyle() {
    QFETCH(unsigned, style);
    QFETCH(QColor, hovered);
    Window w(style);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), w.link->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(w.link, &enter);
    QVERIFY(w.link->IsOverControl());
    QCOMPARE(w.link->CurrentColour(), hovered);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(w.link, &leave);
    QCOMPARE(w.link->CurrentColour(), QColor(0, 0, 255));
  }

  void noActiveColourStyle() {
    Window w(CHyperLink::kDefaultStyle | CHyperLink::StyleNoActiveColor);
    QTest::mousePress(w.link, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QVERIFY(w.link->IsActive());
    QCOMPARE(w.link->CurrentColour(), QColor(0, 0, 255));
  }

  void downClickOpensOnPress() {
    Window w(CHyperLink::kDefaultStyle | CHyperLink::StyleDownClick);
    QTest::mousePress(w.link, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QCOMPARE(m_opener.opened.size(), 1);
    QTest::mouseRelease(w.link, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QCOMPARE(m_opener.opened.size(), 1);
  }

  void spaceOpensEnterDoesNot() {
    Window w;
    w.link->setFocus();
    QTest::keyClick(w.link, Qt::Key_Return);
    QVERIFY(m_opener.opened.isEmpty());
    QTest::keyClick(w.link, Qt::Key_Space);
    QCOMPARE(m_opener.opened.size(), 1);
  }

  void failureIsReportedAndNotVisited() {
    Window w;
    m_opener.result = 31;
    w.link->FollowLink();
    QVERIFY(!w.link->IsVisited());
    QCOMPARE(UserPrompts::Messages().size(), std::size_t(1));
    // In the desktop's words, naming the address.
    QCOMPARE(UserPrompts::Messages().front().text,
             QStringLiteral("The link cannot be opened: no web browser or other program on this "
                            "computer opened %1.")
                 .arg(w.link->GetURL()));
    QCOMPARE(UserPrompts::Messages().front().icon, PromptIcon::Exclamation);
  }

  void errorTexts_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    const QString none = QStringLiteral(
        "The link cannot be opened: no web browser or other program on this computer opened "
        "https://x.example/.");
    const QString invalid =
        QStringLiteral("The link cannot be opened: https://x.example/ is not a valid address.");
    // No system's error codes or texts: what a user can act on.
    QTest::newRow("0") << 0 << none;
    QTest::newRow("2") << 2 << invalid;
    QTest::newRow("3") << 3 << invalid;
    QTest::newRow("26") << 26 << none;
    QTest::newRow("31") << 31 << none;
    QTest::newRow("negative") << -3 << none;
  }

  void errorTexts() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(CHyperLink::ErrorMessage(code, QStringLiteral("https://x.example/")), text);
    QVERIFY(!text.contains(QStringLiteral("DDE")) && !text.contains(QStringLiteral(".EXE")));
  }

  void autoSizeKeepsACentredLinkInPlace() {
    QWidget parent;
    auto* link = new CHyperLink(QStringLiteral("TMX Certification"), &parent);
    link->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    link->setGeometry(50, 20, 301, 40);
    const int centre = link->geometry().center().x();
    link->PositionWindow();
    const int textWidth = QFontMetrics(link->font()).horizontalAdvance(link->text());
    QVERIFY(link->width() - textWidth >= 0 && link->width() - textWidth <= 1);
    QVERIFY(qAbs(link->geometry().center().x() - centre) <= 1);
    QCOMPARE(link->height(), QFontMetrics(link->font()).height());
    QCOMPARE(link->y(), 20);
  }

  void autoSizeOfALeftAlignedLinkKeepsItsLeftEdge() {
    QWidget parent;
    auto* link = new CHyperLink(QStringLiteral("Norvane"), &parent);
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link->setGeometry(10, 10, 300, 30);
    link->PositionWindow();
    QCOMPARE(link->x(), 10);
    QCOMPARE(link->width(), QFontMetrics(link->font()).horizontalAdvance(link->text()));
  }

 private:
  FakeOpener m_opener;
};

QTEST_MAIN(HyperlinkTest)
#include "hyperlink_test.moc"

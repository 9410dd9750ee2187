// SPDX-License-Identifier: MIT
// The language selection dialog: the list in analysis order, "&Set"/"S&et", the double click
// that fills the first empty field, and OK handing over both fields as they stand.
#include "ui/language_dialog.h"

#include <QAccessible>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "ui_test_support.h"

namespace {

LanguageList ThreeLanguages() {
  return {{"Swedish", 1252}, {"English (United States)", 1252}, {"Greek", 1253}};
}

void DoubleClick(CLanguageDlg& dialog, int row) {
  QListWidget* list = dialog.LanguageListBox();
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace

class LanguageDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { uitest::InitEnvironment(); }

  void listsTheLanguagesInAnalysisOrder() {
    const LanguageList languages = ThreeLanguages();
    CLanguageDlg dialog(languages);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select source and target languages"));
    QListWidget* list = dialog.LanguageListBox();
    QCOMPARE(list->objectName(), QStringLiteral("languageList"));
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Swedish"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("English (United States)"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("Greek"));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(dialog.SourceEdit()->text().isEmpty());
    QVERIFY(dialog.TargetEdit()->text().isEmpty());
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("setSourceButton"))->text(),
             QStringLiteral("&Set"));
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("setTargetButton"))->text(),
             QStringLiteral("S&et"));
    QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->isDefault());
  }

  void fieldsAreNamedForScreenReaders_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("list") << "languageList"
                          << "Available languages";
    QTest::newRow("source field") << "sourceLanguageEdit"
                                  << "Source language";
    QTest::newRow("target field") << "targetLanguageEdit"
                                  << "Target language";
    QTest::newRow("Set") << "setSourceButton"
                         << "Set the source language";
    QTest::newRow("S&et") << "setTargetButton"
                          << "Set the target language";
  }

  void fieldsAreNamedForScreenReaders() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    const LanguageList languages = ThreeLanguages();
    CLanguageDlg dialog(languages);
    dialog.show();
    auto* widget = dialog.findChild<QWidget*>(control);
    QVERIFY(widget);
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(node);
    QCOMPARE(node->text(QAccessible::Name), name);
    QVERIFY(!node->text(QAccessible::Description).isEmpty());
    // Reached from the dialog's node, as a screen reader walks it.
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&dialog);
    QVERIFY(root->indexOfChild(node) >= 0);
  }

  void doubleClicksFillTheFirstEmptyField() {
    const LanguageList languages = ThreeLanguages();
    CLanguageDlg dialog(languages);
    dialog.show();
    DoubleClick(dialog, 1);
    QCOMPARE(dialog.SourceEdit()->text(), QStringLiteral("English (United States)"));
    QVERIFY(dialog.TargetEdit()->text().isEmpty());
    DoubleClick(dialog, 0);
    QCOMPARE(dialog.SourceEdit()->text(), QStringLiteral("English (United States)"));
    QCOMPARE(dialog.TargetEdit()->text(), QStringLiteral("Swedish"));
    // Both fields hold text: a third double click changes nothing.
    DoubleClick(dialog, 2);
    QCOMPARE(dialog.SourceEdit()->text(), QStringLiteral("English (United States)"));
    QCOMPARE(dialog.TargetEdit()->text(), QStringLiteral("Swedish"));
    // Emptying the source by hand: the next double click fills the source again.
    dialog.SourceEdit()->clear();
    DoubleClick(dialog, 2);
    QCOMPARE(dialog.SourceEdit()->text(), QStringLiteral("Greek"));
    QCOMPARE(dialog.TargetEdit()->text(), QStringLiteral("Swedish"));
  }

  void setButtonsCopyTheSelection() {
    const LanguageList languages = ThreeLanguages();
    CLanguageDlg dialog(languages);
    dialog.show();
    dialog.SourceEdit()->setText(QStringLiteral("typed"));
    // Before any selection the remembered text is empty: "&Set" empties the field.
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("setSourceButton")),
                      Qt::LeftButton);
    QVERIFY(dialog.SourceEdit()->text().isEmpty());
    dialog.LanguageListBox()->setCurrentRow(2);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("setTargetButton")),
                      Qt::LeftButton);
    QCOMPARE(dialog.TargetEdit()->text(), QStringLiteral("Greek"));
    // Losing the selection keeps the text last selected.
    dialog.LanguageListBox()->clearSelection();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("setSourceButton")),
                      Qt::LeftButton);
    QCOMPARE(dialog.SourceEdit()->text(), QStringLiteral("Greek"));
  }

  void okHandsOverTheFieldsUnchecked_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::newRow("codes typed by hand") << "EN-US"
                                         << "de";
    QTest::newRow("one field empty") << "Greek"
                                     << "";
    QTest::newRow("free text") << "  anything  "
                               << "Swedish";
  }

  void okHandsOverTheFieldsUnchecked() {
    QFETCH(QString, source);
    QFETCH(QString, target);
    const LanguageList languages = ThreeLanguages();
    CLanguageDlg dialog(languages);
    dialog.show();
    dialog.SourceEdit()->setText(source);
    dialog.TargetEdit()->setText(target);
    QTest::keyClick(dialog.TargetEdit(), Qt::Key_Return);  // Enter presses OK
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Source(), source);
    QCOMPARE(dialog.Target(), target);
  }

  void cancelHandsOverNothing() {
    const LanguageList languages = ThreeLanguages();
    CLanguageDlg dialog(languages);
    dialog.show();
    dialog.SourceEdit()->setText(QStringLiteral("Greek"));
    QTest::keyClick(dialog.SourceEdit(), Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(dialog.Source().isEmpty());
  }

  void emptyAnalysisGivesAnEmptyList() {
    const LanguageList none;
    CLanguageDlg dialog(none);
    QCOMPARE(dialog.LanguageListBox()->count(), 0);
  }
};

QTEST_MAIN(LanguageDialogTest)
#include "language_dialog_test.moc"

// SPDX-License-Identifier: MIT
// CLanguageDlg: lets the user pick the source and the target language among the languages an
// analysis found. The list keeps the analysis order; "&Set" and "S&et" copy the selected
// language into the source and target field, a double click fills the first empty field. OK
// hands both fields over as they stand.
#pragma once

#include <QDialog>
#include <QString>

#include "engine/language_list.h"

class QLineEdit;
class QListWidget;
class QPushButton;

class CLanguageDlg : public QDialog {
  Q_OBJECT

 public:
  CLanguageDlg(const LanguageList& languages, QWidget* parent = nullptr);

  // The two fields as they stood when OK was pressed (empty before).
  QString Source() const { return m_source; }
  QString Target() const { return m_target; }

  QListWidget* LanguageListBox() const { return m_list; }
  QLineEdit* SourceEdit() const { return m_sourceEdit; }
  QLineEdit* TargetEdit() const { return m_targetEdit; }

  void OnSelectionChanged();
  void OnDoubleClick();
  void OnSetSource();
  void OnSetTarget();
  void accept() override;

 private:
  void NameControls(QPushButton* setSource, QPushButton* setTarget);
  void Connect(QPushButton* setSource, QPushButton* setTarget, QPushButton* ok,
               QPushButton* cancel);

  const LanguageList& m_languages;
  QString m_selectedText;
  QListWidget* m_list;
  QString m_source;
  QString m_target;
  QLineEdit* m_sourceEdit;
  QLineEdit* m_targetEdit;
};

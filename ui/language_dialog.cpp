// SPDX-License-Identifier: MIT
#include "ui/language_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <initializer_list>
#include <iterator>

#include "ui/accessibility.h"
#include "ui/dialog_look.h"

namespace {

QPushButton* MakeButton(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

// Puts a label, its field and the field's button in row of the grid.
QGridLayout* Row3(QGridLayout* grid, int row, std::initializer_list<QWidget*> widgets) {
  int column = 0;
  for (QWidget* widget : widgets) grid->addWidget(widget, row, column++);
  return grid;
}

}  // namespace

CLanguageDlg::CLanguageDlg(const LanguageList& languages, QWidget* parent)
    : QDialog(parent), m_languages(languages) {
  setObjectName(QStringLiteral("languageDialog"));
  setWindowTitle(tr("Select source and target languages"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(DialogFont());

  auto* available = new QLabel(tr("Available languages"), this);
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("languageList"));
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setSortingEnabled(false);
  m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* sourceLabel = new QLabel(tr("Source language"), this);
  m_sourceEdit = new QLineEdit(this);
  m_sourceEdit->setObjectName(QStringLiteral("sourceLanguageEdit"));
  auto* setSource = MakeButton("&Set", "setSourceButton", this);

  auto* targetLabel = new QLabel(tr("Target language"), this);
  m_targetEdit = new QLineEdit(this);
  m_targetEdit->setObjectName(QStringLiteral("targetLanguageEdit"));
  auto* setTarget = MakeButton("S&et", "setTargetButton", this);

  auto* cancel = MakeButton("Cancel", "cancelButton", this);
  auto* ok = MakeButton("OK", "okButton", this);
  ok->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(available);
  layout->addWidget(m_list, 1);
  layout->addLayout(Row3(Row3(new QGridLayout, 0, {sourceLabel, m_sourceEdit, setSource}), 1,
                         {targetLabel, m_targetEdit, setTarget}));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  buttons->addWidget(ok);
  layout->addLayout(buttons);

  QWidget* const tabOrder[] = {m_list,    m_sourceEdit, setSource, m_targetEdit,
                               setTarget, cancel,       ok};
  for (size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  available->setBuddy(m_list);
  sourceLabel->setBuddy(m_sourceEdit);
  targetLabel->setBuddy(m_targetEdit);
  NameControls(setSource, setTarget);

  resize(DialogUnitsToPixels(font(), 206, 161).expandedTo(sizeHint()));

  for (const LanguageEntry& entry : m_languages) {
    m_list->addItem(QString::fromUtf8(entry.name));
  }
  m_list->setCurrentRow(-1);

  Connect(setSource, setTarget, ok, cancel);
}

void CLanguageDlg::Connect(QPushButton* setSource, QPushButton* setTarget, QPushButton* ok,
                           QPushButton* cancel) {
  connect(m_list, &QListWidget::itemSelectionChanged, this, &CLanguageDlg::OnSelectionChanged);
  connect(m_list, &QListWidget::itemDoubleClicked, this, &CLanguageDlg::OnDoubleClick);
  connect(setSource, &QPushButton::clicked, this, &CLanguageDlg::OnSetSource);
  connect(setTarget, &QPushButton::clicked, this, &CLanguageDlg::OnSetTarget);
  connect(ok, &QPushButton::clicked, this, &CLanguageDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CLanguageDlg::reject);
}

void CLanguageDlg::NameControls(QPushButton* setSource, QPushButton* setTarget) {
  // What screen readers say for the fields and buttons (the labels are their buddies).
  NameControl(m_list, tr("Available languages"), tr("The languages found in the TXT file"));
  NameControl(m_sourceEdit, tr("Source language"), tr("The source language of the TMX file"));
  NameControl(m_targetEdit, tr("Target language"), tr("The target language of the TMX file"));
  NameControl(setSource, tr("Set the source language"),
              tr("Puts the selected language into the source language field"));
  NameControl(setTarget, tr("Set the target language"),
              tr("Puts the selected language into the target language field"));
}

void CLanguageDlg::OnSelectionChanged() {
  const QList<QListWidgetItem*> selected = m_list->selectedItems();
  if (!selected.isEmpty()) m_selectedText = selected.constFirst()->text();
}

void CLanguageDlg::OnDoubleClick() {
  if (m_sourceEdit->text().isEmpty()) {
    OnSetSource();
  } else if (m_targetEdit->text().isEmpty()) {
    OnSetTarget();
  }
}

void CLanguageDlg::OnSetSource() {
  m_sourceEdit->setText(m_selectedText);
}
void CLanguageDlg::OnSetTarget() {
  m_targetEdit->setText(m_selectedText);
}

void CLanguageDlg::accept() {
  m_source = m_sourceEdit->text();
  m_target = m_targetEdit->text();
  QDialog::accept();
}

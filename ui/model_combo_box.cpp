// SPDX-License-Identifier: MIT
#include "ui/model_combo_box.h"

#include <QAbstractItemView>
#include <QLineEdit>

ModelComboBox::ModelComboBox(bool editable, QWidget* parent) : QComboBox(parent) {
  setEditable(editable);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(16);
  if (editable) {
    // Drops onto the dialog belong to the dialog (a dropped TXT file), not to the field.
    lineEdit()->setAcceptDrops(false);
  }
}

void ModelComboBox::SetModel(const ComboModel& model) {
  m_model = model;
  const QSignalBlocker block(this);
  clear();
  for (const ComboItem& item : m_model.items) addItem(QString::fromUtf8(item.text));
  SetCurSel(m_model.selected);
}

const ComboModel& ModelComboBox::Model() {
  m_model.selected = GetCurSel();
  return m_model;
}

int ModelComboBox::FindStringExact(const QString& text) const {
  return ::FindStringExact(m_model, text.toStdString());
}

void ModelComboBox::SetCurSel(int index) {
  if (index < -1 || index >= count()) index = -1;
  setCurrentIndex(index);
  if (index < 0 && isEditable()) lineEdit()->clear();
  m_model.selected = index;
}

int ModelComboBox::GetCurSel() {
  const int index = currentIndex();
  if (!isEditable()) return index;
  // Typing in the field leaves the list's current item behind; only a field that shows an
  // item's text selects it.
  const QString shown = lineEdit()->text();
  if (index >= 0 && itemText(index) == shown) return index;
  return FindStringExact(shown);
}

void ModelComboBox::FitDroppedWidth() {
  const QFontMetrics metrics(font());
  int widest = 0;
  for (int i = 0; i < count(); ++i) widest = qMax(widest, metrics.horizontalAdvance(itemText(i)));
  view()->setMinimumWidth(widest + 25);
}

bool ModelComboBox::DropCompletion() {
  if (!isEditable() || !lineEdit()->hasFocus()) return false;
  QLineEdit* field = lineEdit();
  // A completion is selected from after the typed letters to the end of the field.
  if (!field->hasSelectedText() || field->selectionStart() == 0 ||
      field->selectionEnd() != field->text().size()) {
    return false;
  }
  field->del();
  return true;
}

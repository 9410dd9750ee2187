// SPDX-License-Identifier: MIT
// A drop-down list bound to a ComboModel (the language and encoding lists): it shows the
// model's items in the model's (sorted) order and reads the user's selection back into it.
// An editable list counts as having a selection only while its field shows an item's text.
#pragma once

#include <QComboBox>

#include "ui/combo_model.h"

class ModelComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit ModelComboBox(bool editable, QWidget* parent = nullptr);

  // Replaces the items and the selection by the model's.
  void SetModel(const ComboModel& model);
  // The items with the current selection.
  const ComboModel& Model();
  // Index of the item with exactly this text, case-insensitive, or -1.
  int FindStringExact(const QString& text) const;
  // Selects an index; -1 clears the selection (and an editable field's text).
  void SetCurSel(int index);
  int GetCurSel();
  // Width of the opened list: the widest item plus 25 pixels.
  void FitDroppedWidth();
  // Removes the completion that the field proposes after the typed letters (the selected rest
  // of an item's text); false when it proposes none.
  bool DropCompletion();

 private:
  ComboModel m_model;
};

// SPDX-License-Identifier: MIT
// Working state of the inline formatting conversion that lives in the converter object.
#pragma once

struct InlineState {
  // Back to the state of a new converter.
  void Reset() {}
  // Empties the source and target tag lists (after each written unit).
  void ClearTagLists() {}
};

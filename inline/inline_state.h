// SPDX-License-Identifier: MIT
// Working state of the inline formatting conversion that lives in the converter object.
#pragma once

#include <string>
#include <vector>

#include "inline/markup_cleanup.h"
#include "inline/open_tag_stack.h"
#include "inline/tag_record.h"
#include "text/tuning.h"

struct InlineState {
  // The segments come from a Unicode file: UTF-8 characters, byte escapes in the code page.
  bool unicodeText = false;
  TagList sourceTags;     // records of the current unit's source segment
  TagList targetTags;     // records of the current unit's target segment
  OpenTagStack openTags;  // Vovuzaduz tags opened and not closed; emptied per segment

  // Buffers the segment scanner reuses from segment to segment (their content is per call).
  struct ScanBuffers {
    std::string bytes;                        // the segment with its byte escapes decoded
    std::u16string text;                      // the segment in UTF-16
    InlineList list;                          // the scanner's typed list
    std::u16string pendingNative;             // native code collected for the scanner's next record
    std::u16string fieldOutput, fieldResult;  // a field's text and its result text
    std::vector<MarkupPlaceholder> fieldPlaceholders;  // the placeholders of a field's text
    std::vector<size_t> unmatchedOpen, unmatchedClose;
    std::vector<int> groupStack;
    // Where the group-head tests hold: hidden text, the do-not-translate and internal style
    // codes, and "\ucN" words (with their count, or -1 when the word is no count).
    std::vector<size_t> hiddenAt, doNotTranslateAt, internalAt, fallbackWordAt;
    std::vector<int> fallbackWordCount;
    std::vector<int> lastValidFallbackWord;  // index of the last counting word up to each one
    // Gives the memory of a very long segment back instead of keeping it for the next one.
    static constexpr size_t kLarge = tuning::kKeptTextUnits;
    void ReleaseTextIfLarge() {
      if (text.capacity() > kLarge) std::u16string().swap(text);
      if (bytes.capacity() > kLarge) std::string().swap(bytes);
    }
    void ReleaseIfLarge() {
      ReleaseTextIfLarge();
      if (list.text.capacity() > kLarge) std::u16string().swap(list.text);
      if (pendingNative.capacity() > kLarge) std::u16string().swap(pendingNative);
      if (fieldOutput.capacity() > kLarge) std::u16string().swap(fieldOutput);
      if (fieldResult.capacity() > kLarge) std::u16string().swap(fieldResult);
      if (list.placeholders.capacity() > kLarge / 8) {
        std::vector<MarkupPlaceholder>().swap(list.placeholders);
      }
      if (list.noBreakSpaces.capacity() > kLarge / 8)
        std::vector<size_t>().swap(list.noBreakSpaces);
      if (list.written.capacity() > kLarge) std::u16string().swap(list.written);
    }
  } buffers;

  // Back to the state of a new converter.
  void Reset() {
    ClearTagLists();
    openTags.Clear();
  }
  // Empties the source and target tag lists (after each written unit).
  void ClearTagLists() {
    sourceTags.clear();
    targetTags.clear();
  }
};

// SPDX-License-Identifier: MIT
// One translation unit of a TXT file as the reader hands it on: its place in the file, its
// fields and its segments, all as the file's bytes. The vectors keep their elements from unit
// to unit (the counts say how many are in use), so reading a unit costs no allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TxtSegment {
  int64_t line = 0;  // the TXT line of the Seg line
  std::string code;  // the language code as the Seg line gives it
  std::string text;  // the segment's RTF
};

struct TxtField {
  int64_t line = 0;   // the TXT line of the field
  std::string tag;    // "Att", "Txt", "CrD", "CrU", "ChD", "ChU", "UsD", "UsC" or another
  std::string name;   // the L value: the field's name
  std::string value;  // the content
};

struct TxtUnit {
  int number = 0;       // position in the file, from 1: the tuid
  int64_t line = 0;     // the TXT line of its <TrU>
  bool closed = false;  // ended by </TrU> (not by the next <TrU> or the end of the file)
  // The character style codes in force for this unit (from the style sheet).
  std::u16string internalStyleCode;
  std::u16string doNotTranslateStyleCode;

  std::vector<TxtSegment> segments;
  size_t segmentCount = 0;
  std::vector<TxtField> fields;
  size_t fieldCount = 0;

  void Clear() { segmentCount = fieldCount = 0; }
  // Exchanges everything with other (the buffers change hands, nothing is copied).
  void Swap(TxtUnit& other) noexcept {
    std::swap(number, other.number);
    std::swap(line, other.line);
    std::swap(closed, other.closed);
    internalStyleCode.swap(other.internalStyleCode);
    doNotTranslateStyleCode.swap(other.doNotTranslateStyleCode);
    segments.swap(other.segments);
    std::swap(segmentCount, other.segmentCount);
    fields.swap(other.fields);
    std::swap(fieldCount, other.fieldCount);
  }
  TxtSegment& AddSegment() {
    if (segmentCount == segments.size()) segments.emplace_back();
    return segments[segmentCount++];
  }
  TxtField& AddField() {
    if (fieldCount == fields.size()) fields.emplace_back();
    return fields[fieldCount++];
  }
};

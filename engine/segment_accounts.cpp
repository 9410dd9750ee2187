// SPDX-License-Identifier: MIT
#include "engine/segment_accounts.h"

#include <utility>

namespace {

using Fate = SegmentChoice::Fate;

// The count a Seg line of a written unit adds to; null when it was written.
int64_t LeftOutCounts::*ReasonOf(const TxtSegment& segment, Fate fate) {
  switch (fate) {
    case Fate::kChosen:
      return segment.text.empty() ? &LeftOutCounts::empty : nullptr;
    case Fate::kRepeated:
      return &LeftOutCounts::repeated;
    case Fate::kUnknown:
      return &LeftOutCounts::unknownCode;
    case Fate::kOther:
      return &LeftOutCounts::otherLanguage;
  }
  return nullptr;
}

void NoteLine(ReportList& list, const TxtSegment& segment) {
  ReportEntry entry;
  entry.line = segment.line;
  entry.value = segment.code;
  list.Add(std::move(entry));
}

}  // namespace

void AccountSegments(const TxtUnit& unit, const SegmentChoice& choice, bool written,
                     SkipCounts& skipped, ExportReport* report) {
  if (!written && !report) return;
  const auto& fates = choice.Fates();
  for (size_t i = 0; i < unit.segmentCount; ++i) {
    const TxtSegment& segment = unit.segments[i];
    SegmentCounts* counts = report ? &report->segments[choice.Codes()[i]] : nullptr;
    if (counts) ++counts->read;
    if (!written) {
      if (counts) ++counts->inSkippedUnits;
      continue;
    }
    const auto reason = ReasonOf(segment, fates[i]);
    if (!reason) {
      if (counts) ++counts->written;
      continue;
    }
    ++(skipped.segments.*reason);
    if (!counts) continue;
    ++(counts->leftOut.*reason);
    if (fates[i] == Fate::kUnknown) NoteLine(report->unknownCodeSegments, segment);
    if (fates[i] == Fate::kRepeated) NoteLine(report->repeatedSegments, segment);
  }
}

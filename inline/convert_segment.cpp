// SPDX-License-Identifier: MIT
// ConvertSegment: a segment's RTF becomes cleaned-up placeholder markup.
#include "engine/tmx_exporter.h"
#include "inline/markup_cleanup.h"
#include "inline/segment_scanner.h"

WideString CTmxExporter::ConvertSegment(std::string_view segment, int codePage, bool source) {
  const std::u16string& markup =
      ScanSegmentMarkup(m_inline, m_internalStyleCode.str(), m_doNotTranslateStyleCode.str(),
                        segment, codePage, source);
  WideString result = CleanUpMarkup(markup);
  m_inline.buffers.ReleaseIfLarge();
  return result;
}

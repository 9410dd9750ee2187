// SPDX-License-Identifier: MIT
// Inline tag pairing: the placeholders of a segment's markup become TMX inline elements. An
// opening placeholder whose closing partner follows becomes <bpt>, the partner <ept> with the
// same i; lone ones become <it pos="begin"> or <it pos="end">; standalone ones become <ph>.
// The element content is the escaped native code of the placeholder's TagRecord, and x links a
// placeholder to the one it was paired with on the other side.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "inline/inline_list.h"
#include "inline/tag_record.h"
#include "text/wide_string.h"

// First-match lookup of a side's records by (number, opening flag), in list order.
class TagRecordIndex {
 public:
  explicit TagRecordIndex(const TagList& records);
  // The first record with this number and opening flag, or null.
  const TagRecord* FindTagRecord(int number, bool opening) const;

 private:
  const TagList& m_records;
  std::unordered_map<uint64_t, size_t> m_first;
};

// The type or x attribute of an element: " type=\"bold\"" for b, " type=\"italic\"" for i,
// " type=\"ulined\"" for u (any case), else " x=\"N\"" when x is not 0, else nothing.
std::u16string InlineAttributes(std::u16string_view name, int x);

// The pairing with working lists of its own, kept from call to call: one per converter, so that
// several converters can run at once.
class TagPairing {
 public:
  TagPairing();
  ~TagPairing();
  TagPairing(const TagPairing&) = delete;
  TagPairing& operator=(const TagPairing&) = delete;

  // The content of the <seg> element for one side's markup and that side's records.
  WideString Pair(const WideString& markup, const TagList& records);
  // The same content encoded for the document, appended to out: UTF-16LE bytes when utf16,
  // else UTF-8, without the characters XML forbids and without unpaired surrogates (exactly
  // EncodeXmlSafeUtf16le or EncodeXmlSafeUtf8 of Pair's result). The content is encoded in
  // slices as it is made, so that it never exists whole as UTF-16.
  void PairEncoded(const WideString& markup, const TagList& records, bool utf16, std::string& out);
  // The same for a cleaned-up list (MarkupCleanup::CleanUp(list, out)), without reading markup:
  // what pairing CleanedMarkupOf(content) gives.
  WideString Pair(const CleanedContent& content, const TagList& records);
  void PairEncoded(const CleanedContent& content, const TagList& records, bool utf16,
                   std::string& out);

 private:
  struct Buffers;
  std::unique_ptr<Buffers> m_buffers;
};

// The same with working lists for this call only.
WideString PairInlineTags(const WideString& markup, const TagList& records);

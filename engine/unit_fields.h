// SPDX-License-Identifier: MIT
// The fields of a unit as the TMX writes them: attribute fields ("Att") and text fields ("Txt")
// become <prop> elements, one per value; dates, users and the usage count become attributes of
// every <tuv>. A field given twice keeps its first place and its last value; a date that is no
// valid date neither sets nor removes its attribute.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/export_report.h"
#include "engine/txt_unit.h"
#include "text/tuning.h"

class UnitFields {
 public:
  // utf16: the document is UTF-16 little-endian, otherwise UTF-8.
  explicit UnitFields(bool utf16 = false);

  // Text of the file is Unicode: field names decode as UTF-8 (otherwise as Windows-1252).
  void SetUnicodeText(bool unicode);
  // Reads the unit's fields, their values decoded in codePage. Invalid dates, repeated fields
  // and characters that the writer will leave out are noted in report, when given.
  void Collect(const TxtUnit& unit, unsigned codePage, ExportReport* report = nullptr);

  // The <prop> lines, indented and ended, in the document's encoding.
  std::string_view PropertyLines() const { return m_propertyLines; }
  // The <tuv> attributes, each with its leading blank (" creationdate=\"...\""), in the
  // document's encoding.
  std::string_view EncodedAttributes() const { return m_encodedAttributes; }

 private:
  void Add(const TxtField& field, unsigned codePage);
  // The <prop> lines of an "Att" or "Txt" field: made once for each field text, then copied.
  void AddProperties(const TxtField& field, unsigned codePage, bool isTxt);
  void MakeProperties(const TxtField& field, unsigned codePage, bool isTxt);
  void AddProperty(std::u16string_view prefix, std::u16string_view value);
  void AddAttribute(const TxtField& field, unsigned codePage, int kind);
  // A date that is none leaves the attribute as it was.
  void SetAttribute(int kind, std::u16string_view value, const TxtField& field);
  // The escaped value of kind; false when kind had a value already (it keeps its place).
  bool Place(int kind, std::u16string_view escaped);
  // A value of printable ASCII that needs no escaping, in a code page that keeps ASCII as it is,
  // for a UTF-8 document with no report to keep: its bytes are its encoded form.
  void PlacePlain(int kind, std::string_view bytes);
  // Gives kind its place in the order when it has none; false when it had one.
  bool TakePlace(int kind);
  void MakeKey(unsigned codePage, char kind, std::string_view name, std::string_view value);
  // Whether codePage decodes ASCII as itself.
  bool AsciiAsItself(unsigned codePage);
  // A field value in codePage into m_value; ASCII text of a code page that keeps ASCII as it is
  // is widened without a lookup.
  void DecodeValue(unsigned codePage, std::string_view bytes);
  void BuildAttributes();

  static constexpr int kAttributeKinds = 6;
  static constexpr size_t kMaxKeptFields = tuning::kKeptFieldTexts;
  bool m_utf16;
  bool m_unicodeNames = false;
  ExportReport* m_report = nullptr;
  std::string m_propertyLines;
  // The lines of each field text met (code page, kind, name and value as the key), up to
  // kMaxKeptFields of them.
  std::unordered_map<std::string, std::string> m_kept;
  std::string m_key;          // scratch
  std::u16string m_property;  // scratch: one <prop> element
  // Attribute kinds in the order of first occurrence, and the last value of each.
  std::array<int, kAttributeKinds> m_order{};
  int m_orderCount = 0;
  // The value of each kind, escaped and encoded, and " name=\"" and "\"" encoded.
  std::array<std::string, kAttributeKinds> m_values;
  std::array<std::string, kAttributeKinds> m_heads;
  std::string m_quote;
  std::string m_encodedAttributes;
  unsigned m_valueCodePage = ~0u;  // the code page of the last value, and whether it keeps
  bool m_asciiAsItself = false;    // ASCII as it is
  std::u16string m_escaped;        // scratch
  std::u16string m_name;           // scratch: a field name, escaped
  std::u16string m_rawName;        // scratch: a field name, decoded
  std::u16string m_value;          // scratch: a field value
  std::u16string m_date;           // scratch: a formatted date
};

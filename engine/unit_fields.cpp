// SPDX-License-Identifier: MIT
#include "engine/unit_fields.h"

#include <algorithm>
#include <cstring>

#include "engine/report_findings.h"
#include "engine/tmx_exporter.h"
#include "text/code_page.h"
#include "text/code_page_tables.h"
#include "text/wide_string.h"
#include "text/xml_chars.h"
#include "text/xml_escape.h"

namespace {

// The six unit fields that become <tuv> attributes, in the order of the TXT tags, then the two
// that become <prop> elements.
enum FieldKind {
  kCrD,
  kCrU,
  kChD,
  kChU,
  kUsD,
  kUsC,
  kFieldKinds,
  kAtt = kFieldKinds,
  kTxt,
  kOther
};
constexpr std::array<std::string_view, kOther> kFieldTags = {"CrD", "CrU", "ChD", "ChU",
                                                             "UsD", "UsC", "Att", "Txt"};
constexpr std::array<std::u16string_view, kFieldKinds> kAttributeNames = {
    u"creationdate", u"creationid", u"changedate", u"changeid", u"lastusagedate", u"usagecount"};

// A three-letter tag as one number, so that a tag is told by comparing numbers.
constexpr uint32_t TagCode(std::string_view tag) {
  return static_cast<uint32_t>(static_cast<unsigned char>(tag[0])) |
         static_cast<uint32_t>(static_cast<unsigned char>(tag[1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(tag[2])) << 16;
}

constexpr std::array<uint32_t, kOther> kFieldTagCodes = [] {
  std::array<uint32_t, kOther> codes{};
  for (size_t k = 0; k < codes.size(); ++k) codes[k] = TagCode(kFieldTags[k]);
  return codes;
}();

FieldKind FieldKindOf(std::string_view tag) {
  if (tag.size() != 3) return kOther;
  const uint32_t code = TagCode(tag);
  for (size_t k = 0; k < kFieldTagCodes.size(); ++k) {
    if (kFieldTagCodes[k] == code) return static_cast<FieldKind>(k);
  }
  return kOther;
}

bool IsDateField(int kind) {
  return kind == kCrD || kind == kChD || kind == kUsD;
}

// Printable ASCII without the characters an attribute escapes: the text is its own escaped form.
constexpr std::array<bool, 256> kPlainAttributeBytes = [] {
  std::array<bool, 256> plain{};
  for (unsigned b = 0x20; b < 0x7F; ++b) plain[b] = b != '&' && b != '<' && b != '>' && b != '"';
  return plain;
}();

bool IsPlainAttributeText(std::string_view bytes) {
  bool plain = true;
  for (const char b : bytes) plain &= kPlainAttributeBytes[static_cast<unsigned char>(b)];
  return plain;
}

}  // namespace

UnitFields::UnitFields(bool utf16) : m_utf16(utf16) {
  for (size_t kind = 0; kind < kAttributeKinds; ++kind) {
    std::u16string head = u" ";
    head += kAttributeNames[kind];
    head += u"=\"";
    AppendXmlSafe(m_heads[kind], head, m_utf16);
  }
  AppendXmlSafe(m_quote, u"\"", m_utf16);
}

void UnitFields::SetUnicodeText(bool unicode) {
  if (unicode == m_unicodeNames) return;
  m_unicodeNames = unicode;
  m_kept.clear();  // their names were decoded the other way
}

bool UnitFields::AsciiAsItself(unsigned codePage) {
  if (codePage != m_valueCodePage) {
    m_valueCodePage = codePage;
    const DecodeTable* table = DecodeTableOf(codePage);
    m_asciiAsItself = table ? table->asciiIdentity : codePage == kCodePageUtf8;
  }
  return m_asciiAsItself;
}

void UnitFields::DecodeValue(unsigned codePage, std::string_view bytes) {
  AsciiAsItself(codePage);
  // ASCII is widened as it goes; anything else is decoded by the code page.
  m_value.resize(bytes.size());
  char16_t* d = m_value.data();
  unsigned high = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    high |= b;
    d[i] = b;
  }
  if (!m_asciiAsItself || (high & 0x80u) != 0) {
    m_value.clear();
    DecodeAppend(codePage, bytes, m_value);
  }
}

void UnitFields::Collect(const TxtUnit& unit, unsigned codePage, ExportReport* report) {
  m_report = report;
  m_propertyLines.clear();
  m_orderCount = 0;
  for (size_t i = 0; i < unit.fieldCount; ++i) Add(unit.fields[i], codePage);
  BuildAttributes();
}

void UnitFields::Add(const TxtField& field, unsigned codePage) {
  const FieldKind kind = FieldKindOf(field.tag);
  if (kind == kAtt || kind == kTxt) {
    AddProperties(field, codePage, kind == kTxt);
  } else if (kind < kFieldKinds) {
    AddAttribute(field, codePage, kind);
  }
}

void UnitFields::MakeKey(unsigned codePage, char kind, std::string_view name,
                         std::string_view value) {
  const auto nameSize = static_cast<uint32_t>(name.size());
  m_key.resize(sizeof codePage + 1 + sizeof nameSize + name.size() + value.size());
  char* d = m_key.data();
  std::memcpy(d, &codePage, sizeof codePage);
  d += sizeof codePage;
  *d++ = kind;
  std::memcpy(d, &nameSize, sizeof nameSize);
  d += sizeof nameSize;
  std::memcpy(d, name.data(), name.size());
  std::memcpy(d + name.size(), value.data(), value.size());
}

void UnitFields::AddAttribute(const TxtField& field, unsigned codePage, int kind) {
  if (!m_report && !m_utf16 && AsciiAsItself(codePage) && IsPlainAttributeText(field.value)) {
    PlacePlain(kind, field.value);
    return;
  }
  DecodeValue(codePage, field.value);
  std::erase(m_value, u'\t');
  if (m_report) NoteForbiddenCharacters(*m_report, m_value, field.line);
  SetAttribute(kind, m_value, field);
}

void UnitFields::AddProperties(const TxtField& field, unsigned codePage, bool isTxt) {
  // With a report, each field's characters are looked at where it stands.
  if (m_report) {
    MakeProperties(field, codePage, isTxt);
    return;
  }
  MakeKey(codePage, isTxt ? 'T' : 'A', field.name, field.value);
  if (const auto kept = m_kept.find(m_key); kept != m_kept.end()) {
    m_propertyLines += kept->second;
    return;
  }
  const size_t from = m_propertyLines.size();
  MakeProperties(field, codePage, isTxt);
  if (m_kept.size() < kMaxKeptFields) m_kept.emplace(m_key, m_propertyLines.substr(from));
}

void UnitFields::MakeProperties(const TxtField& field, unsigned codePage, bool isTxt) {
  DecodeValue(codePage, field.value);
  std::erase(m_value, u'\t');
  if (m_report) NoteForbiddenCharacters(*m_report, m_value, field.line);
  // The field name, escaped for the type attribute, is the same for every piece.
  m_rawName.clear();
  DecodeAppend(m_unicodeNames ? kCodePageUtf8 : kCodePageAnsi, field.name, m_rawName);
  m_name.clear();
  AppendXmlAttribute(m_name, m_rawName);
  if (isTxt) {
    AddProperty(u"x-TXT:", m_value);
    return;
  }
  std::u16string_view rest = m_value;
  while (!rest.empty()) {
    const size_t cut = rest.find(u", ");
    if (cut == std::u16string_view::npos) {
      AddProperty(u"x-ALM:", rest);
      break;
    }
    AddProperty(u"x-ALM:", rest.substr(0, cut));
    rest = rest.substr(cut + 2);
  }
}

// One <prop> line, indented by six blanks and ended by CR LF, in the document's encoding.
void UnitFields::AddProperty(std::u16string_view prefix, std::u16string_view value) {
  std::u16string& p = m_property;
  p.assign(u"      <prop type=\"");
  p.append(prefix);
  p.append(m_name);
  p.append(u"\">");
  AppendXmlText(p, value);
  p.append(u"</prop>\r\n");
  AppendXmlSafe(m_propertyLines, p, m_utf16);
}

void UnitFields::SetAttribute(int kind, std::u16string_view value, const TxtField& field) {
  std::u16string_view escaped;
  if (IsDateField(kind)) {
    if (!FormatTmxDate(value, m_date)) {
      if (m_report) m_report->invalidDates.Add({field.line, field.tag, ToUtf8(value), 0});
      return;
    }
    value = escaped = m_date;  // a date needs no escaping
  } else {
    m_escaped.clear();
    AppendXmlAttribute(m_escaped, value);
    escaped = m_escaped;
  }
  if (!Place(kind, escaped) && m_report) {
    m_report->repeatedFields.Add({field.line, field.tag, ToUtf8(value), 0});
  }
}

void UnitFields::PlacePlain(int kind, std::string_view bytes) {
  std::string& value = m_values[static_cast<size_t>(kind)];
  if (IsDateField(kind)) {
    // An invalid date neither takes a place nor changes the value it has.
    if (!FormatTmxDate(bytes, value)) return;
  } else {
    value = bytes;
  }
  TakePlace(kind);
}

bool UnitFields::TakePlace(int kind) {
  const auto end = m_order.begin() + m_orderCount;
  const bool first = std::find(m_order.begin(), end, kind) == end;
  if (first) m_order[static_cast<size_t>(m_orderCount++)] = kind;
  return first;
}

bool UnitFields::Place(int kind, std::u16string_view escaped) {
  const bool first = TakePlace(kind);
  std::string& value = m_values[static_cast<size_t>(kind)];
  value.clear();
  AppendXmlSafe(value, escaped, m_utf16);
  return first;
}

void UnitFields::BuildAttributes() {
  m_encodedAttributes.clear();
  for (int i = 0; i < m_orderCount; ++i) {
    const auto kind = static_cast<size_t>(m_order[static_cast<size_t>(i)]);
    m_encodedAttributes += m_heads[kind];
    m_encodedAttributes += m_values[kind];
    m_encodedAttributes += m_quote;
  }
}

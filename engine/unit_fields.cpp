// SPDX-License-Identifier: MIT
#include "engine/unit_fields.h"

#include <algorithm>

#include "engine/report_findings.h"
#include "engine/tmx_exporter.h"
#include "text/code_page.h"
#include "text/wide_string.h"
#include "text/xml_escape.h"

namespace {

// The six unit fields that become <tuv> attributes, in the order of the TXT tags.
enum FieldKind { kCrD, kCrU, kChD, kChU, kUsD, kUsC, kFieldKinds };
constexpr std::array<std::string_view, kFieldKinds> kFieldTags = {"CrD", "CrU", "ChD",
                                                                  "ChU", "UsD", "UsC"};
constexpr std::array<std::u16string_view, kFieldKinds> kAttributeNames = {
    u"creationdate", u"creationid", u"changedate", u"changeid", u"lastusagedate", u"usagecount"};

int FieldKindOf(std::string_view tag) {
  for (int k = 0; k < kFieldKinds; ++k) {
    if (kFieldTags[static_cast<size_t>(k)] == tag) return k;
  }
  return -1;
}

bool IsDateField(int kind) {
  return kind == kCrD || kind == kChD || kind == kUsD;
}

}  // namespace

void UnitFields::Collect(const TxtUnit& unit, unsigned codePage, ExportReport* report) {
  m_report = report;
  m_propertyCount = 0;
  m_orderCount = 0;
  for (size_t i = 0; i < unit.fieldCount; ++i) Add(unit.fields[i], codePage);
  BuildAttributes();
}

void UnitFields::Add(const TxtField& field, unsigned codePage) {
  const bool isAtt = field.tag == "Att";
  const bool isTxt = !isAtt && field.tag == "Txt";
  const int kind = (isAtt || isTxt) ? -1 : FieldKindOf(field.tag);
  if (!isAtt && !isTxt && kind < 0) return;

  m_value.clear();
  DecodeAppend(codePage, field.value, m_value);
  std::erase(m_value, u'\t');
  if (m_report) NoteForbiddenCharacters(*m_report, m_value, field.line);
  if (kind >= 0) {
    SetAttribute(kind, m_value, field);
    return;
  }
  // The field name, escaped for the type attribute, is the same for every piece.
  m_rawName.clear();
  DecodeAppend(kCodePageAnsi, field.name, m_rawName);
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

void UnitFields::AddProperty(std::u16string_view prefix, std::u16string_view value) {
  if (m_propertyCount == m_properties.size()) m_properties.emplace_back();
  std::u16string& p = m_properties[m_propertyCount++];
  p.assign(u"<prop type=\"");
  p.append(prefix);
  p.append(m_name);
  p.append(u"\">");
  AppendXmlText(p, value);
  p.append(u"</prop>");
}

void UnitFields::SetAttribute(int kind, std::u16string_view value, const TxtField& field) {
  if (IsDateField(kind)) {
    if (!FormatTmxDate(value, m_date)) {
      if (m_report) m_report->invalidDates.Add({field.line, field.tag, ToUtf8(value), 0});
      return;
    }
    value = m_date;
  }
  const auto end = m_order.begin() + m_orderCount;
  if (std::find(m_order.begin(), end, kind) == end) {
    m_order[static_cast<size_t>(m_orderCount++)] = kind;
  } else if (m_report) {
    m_report->repeatedFields.Add({field.line, field.tag, ToUtf8(value), 0});
  }
  m_values[static_cast<size_t>(kind)].assign(value);
}

void UnitFields::BuildAttributes() {
  m_attributes.clear();
  for (int i = 0; i < m_orderCount; ++i) {
    const auto kind = static_cast<size_t>(m_order[static_cast<size_t>(i)]);
    m_attributes += u' ';
    m_attributes += kAttributeNames[kind];
    m_attributes += u"=\"";
    AppendXmlAttribute(m_attributes, m_values[kind]);
    m_attributes += u'"';
  }
}

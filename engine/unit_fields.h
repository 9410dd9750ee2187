// SPDX-License-Identifier: MIT
// The fields of a unit as the TMX writes them: attribute fields ("Att") and text fields ("Txt")
// become <prop> elements, one per value; dates, users and the usage count become attributes of
// every <tuv>. A field given twice keeps its first place and its last value; a date that is no
// valid date neither sets nor removes its attribute.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/export_report.h"
#include "engine/txt_unit.h"

class UnitFields {
 public:
  // Reads the unit's fields, their values decoded in codePage. Invalid dates, repeated fields
  // and characters that the writer will leave out are noted in report, when given.
  void Collect(const TxtUnit& unit, unsigned codePage, ExportReport* report = nullptr);

  // The <prop> elements, escaped and ready to write.
  const std::vector<std::u16string>& Properties() const { return m_properties; }
  size_t PropertyCount() const { return m_propertyCount; }
  // The <tuv> attributes, each with its leading blank (" creationdate=\"...\"").
  const std::u16string& Attributes() const { return m_attributes; }

 private:
  void Add(const TxtField& field, unsigned codePage);
  void AddProperty(std::u16string_view prefix, std::u16string_view value);
  void SetAttribute(int kind, std::u16string_view value, const TxtField& field);
  void BuildAttributes();

  static constexpr int kAttributeKinds = 6;
  ExportReport* m_report = nullptr;
  std::vector<std::u16string> m_properties;
  size_t m_propertyCount = 0;
  // Attribute kinds in the order of first occurrence, and the last value of each.
  std::array<int, kAttributeKinds> m_order{};
  int m_orderCount = 0;
  std::array<std::u16string, kAttributeKinds> m_values;
  std::u16string m_attributes;
  std::u16string m_name;     // scratch: a field name, escaped
  std::u16string m_rawName;  // scratch: a field name, decoded
  std::u16string m_value;    // scratch: a field value
  std::u16string m_date;     // scratch: a formatted date
};

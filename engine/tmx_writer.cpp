// SPDX-License-Identifier: MIT
#include "engine/tmx_writer.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "engine/unit_fields.h"
#include "text/string_table.h"
#include "text/wide_string.h"
#include "text/xml_chars.h"
#include "text/xml_escape.h"

namespace {

std::string Encoded(std::u16string_view text, bool utf16) {
  std::string bytes;
  AppendXmlSafe(bytes, text, utf16);
  return bytes;
}

}  // namespace

void TmxWriter::Open(std::unique_ptr<ByteSink> sink, bool utf16, std::u16string_view sourceCode,
                     bool mark) {
  (void)m_out.OpenSink(std::move(sink), utf16, mark ? kTextMarked : kTextPlain);
  m_utf16 = utf16;
  m_sourceCode.assign(sourceCode);
  m_tuOpen = Encoded(u"    <tu tuid=\"", utf16);
  m_tuSource = Encoded(u"\" srclang=\"" + m_sourceCode + u"\">\r\n", utf16);
  m_tuClose = Encoded(u"    </tu>\r\n", utf16);
  m_tuvOpen = Encoded(u"      <tuv xml:lang=\"", utf16);
  m_tuvClose = Encoded(u"      </tuv>\r\n", utf16);
  m_tuvAttributesEnd = Encoded(u">\r\n", utf16);
  m_quote = Encoded(u"\"", utf16);
  m_segOpen = Encoded(u"        <seg>", utf16);
  m_segClose = Encoded(u"</seg>\r\n", utf16);
}

void TmxWriter::WriteHeader() {
  static constexpr std::pair<int, std::u16string_view> kOpening[] = {
      {0, u"<?xml version=\"1.0\" ?>"},  {0, u"<!DOCTYPE tmx SYSTEM \"tmx14.dtd\">"},
      {0, u"<tmx version=\"1.4\">"},     {2, u"<header"},
      {4, u"creationtool=\"Ombrelin\""},
  };
  for (const auto& [indent, text] : kOpening) Line(indent, text);
  m_line = u"creationtoolversion=\"";
  AppendXmlAttribute(m_line, FromUtf8(LoadStringText(IDS_TOOL_VERSION)).str());
  m_line += u"\"";
  Line(4, m_line);
  Line(4, u"segtype=\"sentence\"");
  Line(4, u"o-tmf=\"Korvex 2.0 Format\"");
  Line(4, u"adminlang=\"EN-US\"");
  m_out.WriteLine(4, {u"srclang=\"", m_sourceCode, u"\""});
  Line(4, u"datatype=\"rtf\"");
  Line(2, u">");
  Line(2, u"</header>");
  Line(2, u"<body>");
}

void TmxWriter::BeginUnit(int number, const UnitFields& fields) {
  char digits[16];
  const auto written = std::to_chars(digits, digits + sizeof digits, number);
  m_bytes.assign(m_tuOpen);
  for (const char* p = digits; p != written.ptr; ++p) {
    m_bytes += *p;
    if (m_utf16) m_bytes += '\0';
  }
  m_bytes += m_tuSource;
  m_out.WriteEncodedLines(m_bytes);
  m_out.WriteEncodedLines(fields.PropertyLines());
}

void TmxWriter::BeginVariant(std::u16string_view code, std::string_view attributes) {
  m_bytes.assign(m_tuvOpen);
  AppendXmlSafe(m_bytes, code, m_utf16);
  m_bytes += m_quote;
  m_bytes += attributes;
  m_bytes += m_tuvAttributesEnd;
  m_out.WriteEncodedLines(m_bytes);
}

namespace {

class PlainPieces final : public EncodedPieces {
 public:
  explicit PlainPieces(PlainText text) : m_text(text) {}
  size_t WriteSome(char* d, size_t room) override { return m_text.WriteSome(d, room); }

 private:
  PlainText m_text;
};

}  // namespace

void TmxWriter::WriteVariant(std::u16string_view code, std::string_view attributes,
                             PlainText content) {
  BeginVariant(code, attributes);
  PlainPieces pieces(content);
  EndVariant(pieces);
}

void TmxWriter::WriteEncodedVariant(std::u16string_view code, std::string_view attributes,
                                    std::string_view encodedContent) {
  BeginVariant(code, attributes);
  EncodedBytes bytes(encodedContent);
  EndVariant(bytes);
}

void TmxWriter::EndVariant(EncodedPieces& content) {
  m_out.WriteEncodedLines(m_segOpen);
  m_out.WritePieces(content);
  m_out.WriteEncodedLines(m_segClose);
  m_out.WriteEncodedLines(m_tuvClose);
}

void TmxWriter::EndUnit() {
  m_out.WriteEncodedLines(m_tuClose);
}

bool TmxWriter::Finish() {
  Line(2, u"</body>");
  Line(0, u"</tmx>");
  return m_out.Flush() && !m_out.WriteFailed();
}

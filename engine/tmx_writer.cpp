// SPDX-License-Identifier: MIT
#include "engine/tmx_writer.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "engine/unit_fields.h"
#include "text/byte_order_mark.h"
#include "text/string_table.h"
#include "text/tuning.h"
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
  m_out.Open(std::move(sink));
  m_utf16 = utf16;
  m_codes = {};
  if (mark) m_out.Append(ByteOrderMark(utf16 ? OutputEncoding::kUtf16le : OutputEncoding::kUtf8));
  m_sourceCode.assign(sourceCode);
  m_tuOpen = Encoded(u"    <tu tuid=\"", utf16);
  m_tuSource = Encoded(u"\" srclang=\"" + m_sourceCode + u"\">\r\n", utf16);
  m_tuClose = Encoded(u"    </tu>\r\n", utf16);
  m_tuvOpen = Encoded(u"      <tuv xml:lang=\"", utf16);
  m_tuvHeadEnd = Encoded(u">\r\n        <seg>", utf16);
  m_quote = Encoded(u"\"", utf16);
  m_tuvEnd = Encoded(u"</seg>\r\n      </tuv>\r\n", utf16);
}

void TmxWriter::Put(std::u16string_view text) {
  m_bytes.clear();
  AppendXmlSafe(m_bytes, text, m_utf16);
  m_out.Append(m_bytes);
}

void TmxWriter::WriteHeader() {
  m_text =
      u"<?xml version=\"1.0\" ?>\r\n"
      u"<!DOCTYPE tmx SYSTEM \"tmx14.dtd\">\r\n"
      u"<tmx version=\"1.4\">\r\n"
      u"  <header\r\n"
      u"    creationtool=\"Ombrelin\"\r\n"
      u"    creationtoolversion=\"";
  AppendXmlAttribute(m_text, FromUtf8(LoadStringText(IDS_TOOL_VERSION)).str());
  m_text +=
      u"\"\r\n"
      u"    segtype=\"sentence\"\r\n"
      u"    o-tmf=\"Korvex 2.0 Format\"\r\n"
      u"    adminlang=\"EN-US\"\r\n"
      u"    srclang=\"";
  m_text += m_sourceCode;
  m_text +=
      u"\"\r\n"
      u"    datatype=\"rtf\"\r\n"
      u"  >\r\n"
      u"  </header>\r\n"
      u"  <body>\r\n";
  Put(m_text);
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
  m_out.Append(m_bytes);
  m_out.Append(fields.PropertyLines());
}

void TmxWriter::BeginVariant(std::u16string_view code, std::string_view attributes) {
  m_bytes.assign(m_tuvOpen);
  m_bytes += EncodedCode(code);
  m_bytes += m_quote;
  m_bytes += attributes;
  m_bytes += m_tuvHeadEnd;
  m_out.Append(m_bytes);
}

// Units mostly name the same few languages: the bytes of the last few codes are kept.
const std::string& TmxWriter::EncodedCode(std::u16string_view code) {
  for (const KeptCode& kept : m_codes) {
    if (kept.code == code) return kept.bytes;
  }
  KeptCode& slot = m_codes[m_nextCode];
  m_nextCode = (m_nextCode + 1) % m_codes.size();
  slot.code = code;
  slot.bytes.clear();
  AppendXmlSafe(slot.bytes, code, m_utf16);
  return slot.bytes;
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
  // A content of a piece's size goes in whole; a longer one in pieces, so that the output
  // buffer never has to hold it all.
  if (encodedContent.size() <= tuning::kPieceBytes) {
    m_out.Append(encodedContent);
    m_out.Append(m_tuvEnd);
    return;
  }
  EncodedBytes bytes(encodedContent);
  EndVariant(bytes);
}

void TmxWriter::EndVariant(EncodedPieces& content) {
  m_out.AppendPieces(content);
  m_out.Append(m_tuvEnd);
}

void TmxWriter::EndUnit() {
  m_out.Append(m_tuClose);
}

bool TmxWriter::Finish() {
  Put(u"  </body>\r\n</tmx>\r\n");
  return m_out.Flush();
}

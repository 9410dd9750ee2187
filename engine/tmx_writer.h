// SPDX-License-Identifier: MIT
// TmxWriter: the TMX 1.4 document, line by line: the header, one unit at a time, the end.
// UTF-8 with a byte-order mark (or UTF-16LE after FF FE), CR LF line ends; characters that XML
// forbids never reach the file.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "engine/byte_sink.h"
#include "engine/output_buffer.h"
#include "inline/plain_segment.h"

class UnitFields;

class TmxWriter {
 public:
  // Writes to sink. sourceCode is the source language, escaped for an attribute. A document
  // begins with the byte-order mark; units converted apart from it (mark false) do not.
  void Open(std::unique_ptr<ByteSink> sink, bool utf16, std::u16string_view sourceCode,
            bool mark = true);
  // Hands every line written so far to the sink.
  [[nodiscard]] bool Flush() { return m_out.Flush(); }

  void WriteHeader();
  // <tu> with its <prop> elements; the <tuv> elements follow, then EndUnit.
  void BeginUnit(int number, const UnitFields& fields);
  // One <tuv>: the language (escaped), the attributes (in the document's encoding), the content
  // of a segment without RTF, which is written as it is encoded.
  void WriteVariant(std::u16string_view code, std::string_view attributes, PlainText content);
  // The same with content already encoded for the document (nothing in it that XML forbids).
  void WriteEncodedVariant(std::u16string_view code, std::string_view attributes,
                           std::string_view encodedContent);
  void EndUnit();
  // Units converted apart, already encoded for this document.
  bool WriteEncoded(std::string_view bytes) { return m_out.WriteThrough(bytes); }
  // The end of the document, flushed to the sink. False when anything failed to be written.
  [[nodiscard]] bool Finish();
  void Close() { m_out.Close(); }

  bool Failed() const { return m_out.Failed(); }
  // errno of the first write failure, 0 when none.
  int Error() const { return m_out.Error(); }

 private:
  // Adds text to the document, encoded (leaving out what XML forbids).
  void Put(std::u16string_view text);
  void BeginVariant(std::u16string_view code, std::string_view attributes);
  // A language code in the document's encoding.
  const std::string& EncodedCode(std::u16string_view code);

  // The <tuv> line up to and with "<seg>" (BeginVariant), the content of the <seg> line in the
  // document's encoding, and the end of the <tuv> (EndVariant).
  void EndVariant(EncodedPieces& content);

  OutputBuffer m_out;
  bool m_utf16 = false;
  std::u16string m_sourceCode;
  // The fixed parts of the unit lines, with their indents and line ends, in the document's
  // encoding.
  std::string m_tuOpen;      // "<tu tuid=\""
  std::string m_tuSource;    // "\" srclang=\"...\">" and the line end
  std::string m_tuClose;     // "</tu>"
  std::string m_tuvOpen;     // "<tuv xml:lang=\""
  std::string m_tuvHeadEnd;  // ">" and the line end after the attributes, and "<seg>"
  std::string m_quote;       // "\""
  std::string m_tuvEnd;      // "</seg>", its line end, and "</tuv>"
  std::string m_bytes;       // scratch: a line in the document's encoding
  struct KeptCode {
    std::u16string code;
    std::string bytes;
  };
  std::array<KeptCode, 4> m_codes;  // the last language codes encoded
  size_t m_nextCode = 0;            // the one to replace next
  std::u16string m_text;            // scratch: text to encode
};

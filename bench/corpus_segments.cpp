// SPDX-License-Identifier: MIT
#include "bench/corpus_segments.h"

#include <cstdio>

namespace {

// Bytes 0x80 and above as \'hh escapes; all bytes when allBytes (so that no two-byte
// character is split between an escape and a plain byte).
std::string EscapeBytes(const std::string& text, bool allBytes) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80 && (!allBytes || c == '\\' || c == '{' || c == '}')) {
      out += c;
      continue;
    }
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\'%02x", byte);
    out += escape;
  }
  return out;
}

// A word as a segment holds it: RTF syntax characters escaped, sometimes as byte escapes.
std::string SegmentWord(const char* word, bool escaped, bool doubleByte) {
  std::string text;
  for (const char* p = word; *p; ++p) {
    if (*p == '\\' || *p == '{' || *p == '}') text += '\\';
    text += *p;
  }
  return escaped ? EscapeBytes(text, doubleByte) : text;
}

class SegmentBuilder {
 public:
  SegmentBuilder(CorpusRandom& layout, CorpusRandom& words, const CorpusLanguage& language,
                 const CorpusStyles& styles)
      : m_layout(layout), m_words(words), m_language(language), m_styles(styles) {}

  std::string Build(bool heavy) {
    // Now and then a long heavy segment: more inline elements than a few dozen.
    const unsigned pieces = !heavy               ? m_layout.Below(3)
                            : m_layout.OneIn(12) ? 24 + m_layout.Below(24)
                                                 : 2 + m_layout.Below(8);
    Words(1 + m_words.Below(4));
    for (unsigned i = 0; i < pieces; ++i) {
      m_out += ' ';
      if (heavy || m_layout.OneIn(3)) {
        Piece(m_layout.Below(16));
      } else {
        Words(1 + m_words.Below(3));
      }
    }
    if (m_layout.Chance(70)) m_out += m_layout.OneIn(3) ? "\\'85" : ".";
    return m_out;
  }

 private:
  void Words(unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
      if (i) m_out += ' ';
      const char* word =
          m_language.words[m_words.Below(static_cast<unsigned>(m_language.wordCount))];
      m_out += SegmentWord(word, m_words.OneIn(4), m_language.doubleByte);
    }
  }

  void TagGroup(const char* tag) {
    m_out += '{';
    m_out += m_styles.internal;
    m_out += m_layout.OneIn(2) ? "\\f1\\cf6\\lang1024 " : " ";
    m_out += tag;
    m_out += '}';
  }

  void Piece(unsigned kind) {
    static const char* const kHeads[] = {"{\\b ",   "{\\i ",    "{\\ul ",    "{\\f1\\fs20 ",
                                         "{\\cf2 ", "{\\b\\i ", "{\\super ", "{\\cs15\\ul "};
    switch (kind) {
      case 0:
      case 1:
        m_out += m_layout.Pick(kHeads);
        Words(1 + m_words.Below(3));
        m_out += '}';
        break;
      case 2:
        m_out += "{\\b ";
        Words(1);
        m_out += " {\\i ";
        Words(1);
        m_out += "} ";
        Words(1);
        m_out += '}';
        break;
      case 3:
        m_out += m_layout.OneIn(2) ? "{\\v XE \"" : "{\\v\\f1 note ";
        Words(1);
        m_out += m_layout.OneIn(2) ? "\"}" : "}";
        break;
      case 4:
        TagPair();
        break;
      case 5:
        TagStandalone();
        break;
      case 6:
        Field();
        break;
      default:
        TextPiece(kind);
        break;
    }
  }

  void TagPair() {
    static const char* const kOpen[] = {"<b>", "<i>", "<a href=\"p.htm\" title=\"a > b\">",
                                        "<font face=\"Arial\" size=2>", "<span class='x'>"};
    static const char* const kClose[] = {"</b>", "</i>", "</a>", "</font>", "</span>"};
    const unsigned which = m_layout.Below(5);
    TagGroup(kOpen[which]);
    Words(1 + m_words.Below(2));
    if (!m_layout.OneIn(8)) TagGroup(kClose[which]);  // now and then left open
  }

  void TagStandalone() {
    static const char* const kTags[] = {"<br/>",     "<:hs>", "<:ems><t>",  "<img src=\"a.gif\">",
                                        "</orphan>", "<",     "<!-- c -->", "<b><i>"};
    TagGroup(m_layout.Pick(kTags));
  }

  void Field() {
    switch (m_layout.Below(4)) {
      case 0:
        m_out += "{\\field{\\*\\fldinst {\\lang1024 HYPERLINK \"http://example.com/";
        m_out += std::to_string(m_layout.Below(1000));
        m_out += "\" }}{\\fldrslt {\\cs15\\ul\\cf2 ";
        Words(1 + m_words.Below(2));
        m_out += "}}}";
        break;
      case 1:
        m_out += "{\\field{\\*\\fldinst PAGE \\\\* MERGEFORMAT}}";
        break;
      case 2:
        m_out += "{\\field{\\*\\fldinst REF _Ref12 \\\\h}{\\fldrslt 12}}";
        break;
      default:
        m_out += "{\\field\\fldlock{\\*\\fldinst {SYMBOL 183 \\\\f \"Symbol\"}}{\\fldrslt ";
        Words(1);
        m_out += "}}";
        break;
    }
  }

  void TextPiece(unsigned kind) {
    static const char* const kUnicode[] = {"\\u8364?",  "\\u-3913?",          "\\u269\\'3f",
                                           "\\u1046 ",  "\\uc0\\u1046 ",      "\\uc2\\u8212--",
                                           "\\u65533?", "\\u55357?\\u56832?", "\\u60?"};
    static const char* const kControls[] = {
        "\\tab ", "\\line ", "\\par ", "\\emdash ", "\\lquote ", "\\~", "\\-",  "\\_",
        "\\{",    "\\}",     "\\\\",   "\\bullet ", "\\zwj ",    "\\*", "\\'41"};
    static const char* const kSpecials[] = {"&", "<", ">", "\"", "'", "&lt;", "]]>", "\t"};
    static const char* const kOddBraces[] = {"}", "{", "{\\", "\\", "{}", "{\\unknownword12 x}"};
    switch (kind) {
      case 7:
      case 8:
        m_out += m_layout.Pick(kUnicode);
        break;
      case 9:
      case 10:
        m_out += m_layout.Pick(kControls);
        break;
      case 11:
        m_out += m_layout.Pick(kSpecials);
        break;
      case 12:
        m_out += '{';
        m_out += m_styles.doNotTranslate;
        m_out += "\\f1 CODE_" + std::to_string(m_layout.Below(10000)) + '}';
        break;
      case 13:
        m_out += "{\\f2\\'e9 ";
        Words(1);
        m_out += " \\'a9 2024}";
        break;
      case 14:
        if (m_layout.OneIn(4)) m_out += m_layout.Pick(kOddBraces);
        break;
      default:
        Words(1 + m_words.Below(3));
        break;
    }
  }

  CorpusRandom& m_layout;
  CorpusRandom& m_words;
  const CorpusLanguage& m_language;
  const CorpusStyles& m_styles;
  std::string m_out;
};

}  // namespace

std::string MakeCorpusSegment(CorpusRandom layout, CorpusRandom& words,
                              const CorpusLanguage& language, const CorpusStyles& styles,
                              bool heavy) {
  return SegmentBuilder(layout, words, language, styles).Build(heavy);
}

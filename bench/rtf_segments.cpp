// SPDX-License-Identifier: MIT
#include "bench/rtf_segments.h"

#include <cstdint>

namespace {

const char* const kEnglish[] = {"the",       "valve",          "pressure", "must",     "be",
                                "checked",   "before",         "every",    "start",    "of",
                                "pump",      "system",         "manual",   "operator", "caf\\'e9",
                                "na\\'efve", "r\\'e9sum\\'e9", "warning",  "switch",   "cable",
                                "housing",   "screw",          "torque",   "filter",   "display",
                                "open",      "close",          "press"};
const char* const kGerman[] = {
    "das",        "Ventil",        "Druck",      "muss",          "vor",         "jedem",
    "Start",      "gepr\\'fcft",   "werden",     "Pumpe",         "System",      "Handbuch",
    "Bediener",   "Warnung",       "Schalter",   "Kabel",         "Geh\\'e4use", "Schraube",
    "Drehmoment", "Filter",        "\\'f6ffnen", "schlie\\'dfen", "Anzeige",     "dr\\'fccken",
    "Stra\\'dfe", "Gr\\'f6\\'dfe", "und",        "oder"};

// splitmix64: small, fast and good enough to vary the segments.
uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

class Random {
 public:
  explicit Random(uint64_t seed) : m_state(seed) {}
  unsigned Below(unsigned n) { return static_cast<unsigned>((m_state = Mix(m_state)) % n); }
  bool OneIn(unsigned n) { return Below(n) == 0; }

 private:
  uint64_t m_state;
};

class SegmentWriter {
 public:
  SegmentWriter(unsigned seed, int index)
      : m_layout(Mix(static_cast<uint64_t>(index) * 2 + 1)),
        m_words(Mix((static_cast<uint64_t>(seed) << 32) ^ static_cast<uint64_t>(index))),
        m_german(seed % 2 == 1) {}

  std::string Write() {
    const unsigned pieces = 3 + m_layout.Below(5);
    for (unsigned i = 0; i < pieces; ++i) {
      Words(2 + m_words.Below(5));
      m_out += ' ';
      Piece(m_layout.Below(14));
      m_out += ' ';
    }
    Words(2 + m_words.Below(4));
    m_out += '.';
    return m_out;
  }

 private:
  void Words(unsigned count) {
    const char* const* list = m_german ? kGerman : kEnglish;
    const unsigned size =
        m_german ? sizeof kGerman / sizeof *kGerman : sizeof kEnglish / sizeof *kEnglish;
    for (unsigned i = 0; i < count; ++i) {
      if (i) m_out += ' ';
      m_out += list[m_words.Below(size)];
    }
  }

  // One piece of inline code; the kind depends on the layout only, so both sides agree.
  void Piece(unsigned kind) {
    static const char* const kHeads[] = {"{\\b ",   "{\\i ",    "{\\ul ",   "{\\f1\\fs20 ",
                                         "{\\cf2 ", "{\\b\\i ", "{\\super "};
    switch (kind) {
      case 0:
      case 1:
      case 2:
        m_out += kHeads[m_layout.Below(sizeof kHeads / sizeof *kHeads)];
        Words(1 + m_words.Below(3));
        m_out += '}';
        break;
      case 3:  // nested groups
        m_out += "{\\b ";
        Words(1 + m_words.Below(2));
        m_out += " {\\i ";
        Words(1 + m_words.Below(2));
        m_out += "} ";
        Words(1);
        m_out += '}';
        break;
      case 4:  // hidden text: index entries and notes
        m_out += m_layout.OneIn(2) ? "{\\v XE \"" : "{\\v\\f1 note ";
        Words(1);
        m_out += m_layout.OneIn(2) ? "\"}" : "}";
        break;
      case 5:  // a pair of Vovuzaduz tags
        m_out += "{\\cs6\\f1\\cf6\\lang1024 <b>}";
        Words(1 + m_words.Below(3));
        m_out += "{\\cs6\\f1\\cf6\\lang1024 </b>}";
        break;
      case 6:  // a tag with attributes around a link text
        m_out += "{\\cs6\\f1\\cf6\\lang1024 <a href=\"page";
        m_out += std::to_string(m_layout.Below(100));
        m_out += ".htm\" title=\"a > b\">}";
        Words(1 + m_words.Below(2));
        m_out += "{\\cs6\\f1\\cf6\\lang1024 </a>}";
        break;
      case 7:  // symbol tags and a standalone tag
        m_out += m_layout.OneIn(2) ? "{\\cs6\\f1\\cf6\\lang1024 <:hs>}" : "{\\cs6 <:ems><t>}";
        Words(1);
        m_out += "{\\cs6\\f1\\cf6\\lang1024 <br/>}";
        break;
      case 8:  // hyperlink field with a formatted result
        m_out += "{\\field{\\*\\fldinst {\\lang1024 HYPERLINK \"http://www.example.com/";
        m_out += std::to_string(m_layout.Below(1000));
        m_out += "\" }}{\\fldrslt {\\cs15\\ul\\cf2 ";
        Words(1 + m_words.Below(3));
        m_out += "}}}";
        break;
      case 9:  // fields without a result and with a plain one
        m_out += m_layout.OneIn(2) ? "{\\field{\\*\\fldinst PAGE \\\\* MERGEFORMAT}}"
                                   : "{\\field{\\*\\fldinst REF _Ref12 \\\\h}{\\fldrslt 12}}";
        break;
      case 10:  // do-not-translate code
        m_out += "{\\cs8\\f1\\cf6\\lang1024 CODE_";
        m_out += std::to_string(m_layout.Below(10000));
        m_out += '}';
        break;
      case 11:  // control words and escapes
        m_out += m_layout.OneIn(2) ? "\\tab " : "\\emdash ";
        Words(1);
        m_out += "\\~";
        Words(1);
        m_out += " \\lquote ";
        Words(1);
        m_out += "\\rquote";
        break;
      case 12:  // Unicode escapes with fallbacks and braces in the text
        m_out += "\\u8364? 12 \\u8211? \\{";
        Words(1);
        m_out += "\\}";
        break;
      default:  // a group with byte escapes in its head and text
        m_out += "{\\f2\\'e9 ";
        Words(1 + m_words.Below(2));
        m_out += " \\'a9 2024}";
        break;
    }
  }

  Random m_layout;
  Random m_words;
  bool m_german;
  std::string m_out;
};

}  // namespace

std::string MakeRtfHeavySegment(unsigned seed, int index) {
  return SegmentWriter(seed, index).Write();
}

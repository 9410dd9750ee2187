// SPDX-License-Identifier: MIT
// The code page catalogue: its build, the resolution of a language to a code page, its names.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "text/code_page.h"
#include "text/code_page_catalogue.h"
#include "text/code_page_table.h"
#include "text/code_page_tables.h"
#include "text/language_catalogue.h"

namespace {

struct CodePageResolveCase {
  const char* code;
  unsigned char mask;
  unsigned codePage;
  const char* name;
};

void PrintTo(const CodePageResolveCase& c, std::ostream* os) {
  *os << '"' << c.code << "\" mask " << int(c.mask);
}

class ResolveCodePageTest : public testing::TestWithParam<CodePageResolveCase> {};

TEST_P(ResolveCodePageTest, GivesCodePageAndName) {
  const CodePageResolveCase& c = GetParam();
  std::string name = "stale";
  EXPECT_EQ(ResolveCodePage(c.code, c.mask, &name), c.codePage);
  EXPECT_EQ(name, c.name);
  EXPECT_EQ(ResolveCodePage(c.code, c.mask, nullptr), c.codePage);
}

INSTANTIATE_TEST_SUITE_P(
    WholeCodeFirst, ResolveCodePageTest,
    testing::Values(CodePageResolveCase{"RU", 1, 1251, "Cyrillic - Windows"},
                    CodePageResolveCase{"SR", 1, 1250, "Eastern European - Windows"},
                    CodePageResolveCase{"SR-XC", 1, 1251, "Cyrillic - Windows"},
                    // 936 and 54936 both list ZH-CN; the lower code page comes first.
                    CodePageResolveCase{"ZH-CN", 1, 936, "Chinese (simplified) - Windows, DOS"},
                    CodePageResolveCase{"JA", 1, 932, "Japanese - Windows, DOS"},
                    CodePageResolveCase{"EN-US", 2, 437, "United States - DOS"},
                    // 737 and 869 both list EL.
                    CodePageResolveCase{"EL", 2, 737, "Greek (aka 437G) - DOS"},
                    CodePageResolveCase{"EL", 1, 1253, "Greek - Windows"},
                    CodePageResolveCase{"ZH-SG", 2, 936, "Chinese (simplified) - Windows, DOS"},
                    CodePageResolveCase{"RU", 4, 28595, "ISO 8859-5 Cyrillic"},
                    CodePageResolveCase{"AZ-XE", 4, 28593, "ISO 8859-3 Turkish"},
                    // Windows or DOS: the first record of either family listing the code.
                    CodePageResolveCase{"EN-US", 3, 437, "United States - DOS"},
                    CodePageResolveCase{"EL", 3, 737, "Greek (aka 437G) - DOS"},
                    CodePageResolveCase{"RU", 7, 866, "Russian - DOS"}));

INSTANTIATE_TEST_SUITE_P(PrefixInSecondPass, ResolveCodePageTest,
                         testing::Values(CodePageResolveCase{"AR-SA", 1, 1256, "Arabic - Windows"},
                                         CodePageResolveCase{"AR-SA", 2, 864, "Arabic - DOS"},
                                         CodePageResolveCase{"NO-NO", 2, 865, "Nordic - DOS"},
                                         CodePageResolveCase{"RU-XX", 1, 1251,
                                                             "Cyrillic - Windows"}));

INSTANTIATE_TEST_SUITE_P(FamilyFallback, ResolveCodePageTest,
                         testing::Values(
                             // 437 (DOS) lists EN-US, but no Windows record does.
                             CodePageResolveCase{"EN-US", 1, 1252, "Western European - Windows"},
                             CodePageResolveCase{"XX", 1, 1252, "Western European - Windows"},
                             CodePageResolveCase{"XX", 2, 850, "Multilingual (Latin I) - DOS"},
                             CodePageResolveCase{"XX", 4, 28591, "ISO 8859-1 Western Europe"},
                             CodePageResolveCase{"EN-US", 4, 28591, "ISO 8859-1 Western Europe"},
                             // Byte comparison: lower case codes are no tokens.
                             CodePageResolveCase{"ru", 1, 1252, "Western European - Windows"},
                             CodePageResolveCase{"", 1, 1252, "Western European - Windows"},
                             CodePageResolveCase{"R", 1, 1252, "Western European - Windows"},
                             // No record of the family: nothing.
                             CodePageResolveCase{"RU", 0, 0, ""},
                             CodePageResolveCase{"RU", 8, 0, ""}));

// Real-world Windows ANSI code pages of some languages: both the language table and the catalogue
// must agree with them.
struct AnsiCase {
  const char* code;
  unsigned codePage;
};

void PrintTo(const AnsiCase& c, std::ostream* os) {
  *os << '"' << c.code << '"';
}

class WellKnownAnsiCodePageTest : public testing::TestWithParam<AnsiCase> {};

TEST_P(WellKnownAnsiCodePageTest, TableAndCatalogueAgree) {
  const AnsiCase& c = GetParam();
  const LanguageRecord* record = FindLanguageRecord(c.code);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->ansiCodePage, c.codePage);
  EXPECT_EQ(ResolveCodePage(c.code, kFamilyWindows, nullptr), c.codePage);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, WellKnownAnsiCodePageTest,
    testing::Values(AnsiCase{"EN-GB", 1252}, AnsiCase{"DE-CH", 1252}, AnsiCase{"PL", 1250},
                    AnsiCase{"CS", 1250}, AnsiCase{"UK", 1251}, AnsiCase{"BG", 1251},
                    AnsiCase{"EL", 1253}, AnsiCase{"TR", 1254}, AnsiCase{"HE", 1255},
                    AnsiCase{"AR-EG", 1256}, AnsiCase{"FA", 1256}, AnsiCase{"LT", 1257},
                    AnsiCase{"VI", 1258}, AnsiCase{"TH", 874}, AnsiCase{"JA", 932},
                    AnsiCase{"ZH-SG", 936}, AnsiCase{"KO", 949}, AnsiCase{"ZH-HK", 950},
                    AnsiCase{"ZH-TW", 950}));

TEST(CodePageCatalogue, IsTheStaticTableSortedWithOneRecordPerCodePage) {
  const auto catalogue = CodePageCatalogue();
  ASSERT_EQ(catalogue.size(), 84u);
  EXPECT_EQ(catalogue.front().codePage, 37u);
  EXPECT_EQ(catalogue.back().codePage, 100001u);
  for (size_t i = 1; i < catalogue.size(); ++i) {
    EXPECT_LT(catalogue[i - 1].codePage, catalogue[i].codePage) << i;
  }
  for (const CodePageRecord& r : catalogue) {
    EXPECT_FALSE(r.displayName.empty()) << r.codePage;
    EXPECT_LE(r.family, 7) << r.codePage;
    // Every listed language is a catalogue code or the two-letter prefix of one.
    size_t pos = 0;
    while (pos < r.languages.size()) {
      size_t blank = r.languages.find(' ', pos);
      if (blank == std::string::npos) blank = r.languages.size();
      const std::string token = r.languages.substr(pos, blank - pos);
      EXPECT_FALSE(token.empty()) << r.codePage << " has a double blank";
      bool known = FindLanguageRecord(token) != nullptr;
      for (const LanguageRecord& l : LanguageTable()) {
        known = known || std::string(l.code).rfind(token + "-", 0) == 0;
      }
      EXPECT_TRUE(known) << token << " in " << r.codePage;
      pos = blank + 1;
    }
  }
}

TEST(CodePageCatalogue, FamilyFallbacksAreUnique) {
  // Exactly one record of each family has no languages: the answer for any unknown language.
  for (const unsigned char family : {kFamilyWindows, kFamilyDos, kFamilyIso}) {
    std::vector<unsigned> empty;
    for (const CodePageRecord& r : CodePageCatalogue()) {
      if ((r.family & family) != 0 && r.languages.empty()) empty.push_back(r.codePage);
    }
    EXPECT_EQ(empty.size(), 1u) << int(family);
  }
}

TEST(CodePageCatalogue, NamesComeFromTheStringTable) {
  EXPECT_EQ(CodePageName(500), "IBM EBCDIC International");
  EXPECT_EQ(CodePageName(37), "IBM EBCDIC U.S./Canada");
  EXPECT_EQ(CodePageName(65001), "Unicode (UTF-8)");
  EXPECT_EQ(CodePageName(28599), "ISO 8859-9");
  EXPECT_EQ(CodePageName(0), "");
  EXPECT_EQ(CodePageName(12345), "");
  EXPECT_EQ(CodePageName(50000), "");
}

TEST(CodePageCatalogue, IsOneCatalogueSharedByEveryThread) {
  struct Seen {
    const CodePageRecord* records = nullptr;
    size_t size = 0;
    unsigned hungarian = 0;
    std::string name;
  };
  std::vector<Seen> seen(4);
  std::vector<std::thread> threads;
  for (Seen& s : seen) {
    threads.emplace_back([&s] {
      s.records = CodePageCatalogue().data();
      s.size = CodePageCatalogue().size();
      s.hungarian = ResolveCodePage("HU", kFamilyWindows, nullptr);
      s.name = CodePageName(1250);
    });
  }
  for (std::thread& t : threads) t.join();
  for (const Seen& s : seen) {
    EXPECT_EQ(s.records, CodePageCatalogue().data());
    EXPECT_EQ(s.size, CodePageCatalogue().size());
    EXPECT_EQ(s.hungarian, 1250u);
    EXPECT_EQ(s.name, "Eastern European - Windows");
  }
}

CodePageRecord CodePageEntry(unsigned codePage, const char* name, int stringId = 0) {
  CodePageRecord r;
  r.codePage = codePage;
  r.displayName = name;
  r.displayStringId = stringId;
  return r;
}

TEST(CodePageCatalogueBuild, FirstRecordOfACodePageWins) {
  std::vector<CodePageRecord> list;
  InsertFirstOfCodePage(list, CodePageEntry(1252, "first"));
  InsertFirstOfCodePage(list, CodePageEntry(37, "low"));
  InsertFirstOfCodePage(list, CodePageEntry(1252, "second"));
  InsertFirstOfCodePage(list, CodePageEntry(65001, "high"));
  InsertFirstOfCodePage(list, CodePageEntry(850, "middle"));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].displayName, "low");
  EXPECT_EQ(list[1].displayName, "middle");
  EXPECT_EQ(list[2].displayName, "first");
  EXPECT_EQ(list[3].displayName, "high");
}

// ---------------------------------------------------------------------------------------------
// Decoding of every catalogue code page: all single bytes and, for the double-byte code pages,
// all lead/trail pairs.

std::u16string WideOf(unsigned codePage, const unsigned char* bytes, int n) {
  char16_t out[4] = {};
  const int units = ToWide(codePage, 0, reinterpret_cast<const char*>(bytes), n, out, 4);
  return std::u16string(out, static_cast<size_t>(units > 0 ? units : 0));
}

// The catalogue's double-byte code pages.
bool HasPairs(unsigned codePage) {
  for (unsigned cp : {932u, 936u, 949u, 950u, 1361u, 10002u, 10003u, 10008u}) {
    if (cp == codePage) return true;
  }
  return false;
}

// A code page's table as Windows' own table file (c_NNN.nls) describes it; Wine installs such
// files, built from the published mappings.
class NlsTable {
 public:
  bool Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    m_words.resize(bytes.size() / 2);
    for (size_t i = 0; i < m_words.size(); ++i) {
      m_words[i] = static_cast<uint16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    if (m_words.size() < 300 || m_words[0] < 13) return false;
    m_defaultChar = static_cast<char16_t>(m_words[4]);
    size_t at = m_words[0];
    m_multiByte = at + 1;
    at = m_multiByte + 256;
    at += m_words[at] != 0 ? 257 : 1;  // glyph table
    if (at >= m_words.size()) return false;
    m_dbcsOffsets = m_words[at] != 0 ? at + 1 : 0;
    return true;
  }
  bool IsLead(unsigned char b) const { return m_dbcsOffsets != 0 && Word(m_dbcsOffsets + b) != 0; }
  // What Windows gives for the bytes: a lead byte takes the next byte with it; a lead byte at
  // the end gives the default character.
  std::u16string Decode(const unsigned char* s, int n) const {
    std::u16string out;
    for (int i = 0; i < n; ++i) {
      if (!IsLead(s[i])) {
        out.push_back(static_cast<char16_t>(Word(m_multiByte + s[i])));
      } else if (i + 1 < n) {
        out.push_back(
            static_cast<char16_t>(Word(m_dbcsOffsets + Word(m_dbcsOffsets + s[i]) + s[i + 1])));
        ++i;
      } else {
        out.push_back(m_defaultChar);
      }
    }
    return out;
  }

 private:
  uint16_t Word(size_t i) const { return i < m_words.size() ? m_words[i] : 0xFFFF; }
  std::vector<uint16_t> m_words;
  char16_t m_defaultChar = u'?';
  size_t m_multiByte = 0;
  size_t m_dbcsOffsets = 0;
};

std::string Hex(std::u16string_view units) {
  std::string out;
  char buffer[8];
  for (char16_t u : units) {
    std::snprintf(buffer, sizeof buffer, " %04X", static_cast<unsigned>(u));
    out += buffer;
  }
  return out;
}

// Compares the decoding of every single byte (and every pair) with the table; returns the number
// of differences and describes the first few.
int CompareWithNls(unsigned codePage, const NlsTable& nls, std::string& report) {
  int differences = 0;
  const auto check = [&](const unsigned char* s, int n) {
    const std::u16string ours = WideOf(codePage, s, n);
    const std::u16string windows = nls.Decode(s, n);
    if (ours == windows) return;
    if (++differences <= 8) {
      char bytes[16];
      std::snprintf(bytes, sizeof bytes, n == 1 ? "%02X" : "%02X %02X", s[0], n > 1 ? s[1] : 0);
      report += std::string("\n  ") + bytes + ": ours" + Hex(ours) + ", Windows" + Hex(windows);
    }
  };
  for (int b = 0; b < 256; ++b) {
    const unsigned char s[1] = {static_cast<unsigned char>(b)};
    check(s, 1);
  }
  for (int lead = 0; HasPairs(codePage) && lead < 256; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      const unsigned char s[2] = {static_cast<unsigned char>(lead),
                                  static_cast<unsigned char>(trail)};
      check(s, 2);
    }
  }
  return differences;
}

// FNV-1a over the decoding of every single byte and, for double-byte code pages, every pair:
// for each input the number of units, then the units.
uint64_t DecodingDigest(unsigned codePage, bool pairs) {
  uint64_t hash = 0xCBF29CE484222325u;
  const auto mix = [&](unsigned value) {
    hash ^= value & 0xFF;
    hash *= 0x100000001B3u;
  };
  const auto add = [&](const unsigned char* s, int n) {
    const std::u16string units = WideOf(codePage, s, n);
    mix(static_cast<unsigned>(units.size()));
    for (char16_t u : units) {
      mix(u);
      mix(static_cast<unsigned>(u) >> 8);
    }
  };
  for (int lead = 0; lead < 256; ++lead) {
    const unsigned char single[1] = {static_cast<unsigned char>(lead)};
    if (!pairs) add(single, 1);
    for (int trail = 0; pairs && trail < 256; ++trail) {
      const unsigned char pair[2] = {static_cast<unsigned char>(lead),
                                     static_cast<unsigned char>(trail)};
      add(pair, 2);
    }
  }
  return hash;
}

struct TableDigest {
  unsigned codePage;
  uint64_t singleBytes;
  uint64_t pairs;  // 0 for single-byte code pages
};

// The decoding of each catalogue code page as checked against Windows' tables (as Wine
// installs them, see above), pinned so that a change of ICU or of the corrections shows.
constexpr TableDigest kDigests[] = {
    {37, 0x0F53D133B612EE15u, 0},
    {437, 0xA7B1295E31544E53u, 0},
    {500, 0xF262AC9729FFA0B9u, 0},
    {708, 0x46E3F3917E99A791u, 0},
    {720, 0xD936A4CB37270A81u, 0},
    {737, 0x00E82F8F53D9F25Au, 0},
    {775, 0xC05E2FF348D6F1B9u, 0},
    {850, 0xE2C16CE3DF71398Bu, 0},
    {852, 0x929146C9F7F16AEAu, 0},
    {855, 0xC73980B7CA6CF932u, 0},
    {857, 0x21FD58E5BD5FD9FEu, 0},
    {860, 0x64F9D251F86A1208u, 0},
    {861, 0x6B4736EB69FF08CAu, 0},
    {862, 0x28E1081F2C60A85Au, 0},
    {863, 0xF22ECE50761CFD0Eu, 0},
    {864, 0xC5292F971FECBDCBu, 0},
    {865, 0x8E1171DEA91E3FDBu, 0},
    {866, 0x87D13B9E9473F025u, 0},
    {869, 0xAD8E1CF761BC9FFBu, 0},
    {870, 0x0D94D5FCC0C87832u, 0},
    {874, 0xE960320ED47B795Bu, 0},
    {875, 0x9F63637E01A53582u, 0},
    {932, 0xE16B88E5BBD958FEu, 0xB6445EEC3404E734u},
    {936, 0x06F9283F8FB03CB6u, 0xE85548B76F91A20Fu},
    {949, 0x04B70F81411BB9C0u, 0x71EE4A99BBE0E11Au},
    {950, 0x04B51981411B47E7u, 0x022A060941693A96u},
    {1026, 0x91A3B0EB8739D1EEu, 0},
    {1250, 0xE5815AA2202A7CF0u, 0},
    {1251, 0x95190C527335B15Du, 0},
    {1252, 0x1552D7537694E8E0u, 0},
    {1253, 0xC8AD6CBADBE2E49Fu, 0},
    {1254, 0xA909D7A2DC01FDE4u, 0},
    {1255, 0xB186305B3C40151Cu, 0},
    {1256, 0xBBF34E4AAEFFD7C8u, 0},
    {1257, 0x2991C592A883064Eu, 0},
    {1258, 0xA124867BB58D11D4u, 0},
    {1361, 0x0E5BCBAE63F21EB1u, 0xA83079C418D80C85u},
    {10000, 0x4A419665902E74CAu, 0},
    {10002, 0x1AC331695E260B71u, 0xCB49B6E30DFB5E51u},
    {10003, 0x59AB941A0BED9E61u, 0x17B04B1BF4F7C4B2u},
    {10004, 0x4E376E3E4597B77Au, 0},
    {10005, 0x860870ED5FA2F920u, 0},
    {10006, 0xC70939119EE282DAu, 0},
    {10007, 0x6FAB838093F2AC6Eu, 0},
    {10008, 0xC5E1FFE4926ABC22u, 0x2C381ACEE922A62Fu},
    {10010, 0x01FB15C11B70A110u, 0},
    {10017, 0xD25FF18503F76BEFu, 0},
    {10029, 0x8A86E67F06E844AEu, 0},
    {10079, 0x1C044CB97FC6DF07u, 0},
    {10081, 0x1D7166548AA1249Du, 0},
    {10082, 0x4E52A87A86DCB14Du, 0},
    {20866, 0x28E9EB4E763A30CAu, 0},
    {28591, 0xF7136E9B3A0CE325u, 0},
    {28592, 0x7029E897439BF50Eu, 0},
    {28593, 0xE6474B63B4409828u, 0},
    {28594, 0x812BC841C4F1429Au, 0},
    {28595, 0x290900407E4E8320u, 0},
    {28596, 0x8AEBF7091BD5499Bu, 0},
    {28597, 0xB966EBA1D3FBE071u, 0},
    {28598, 0xF5302BF2950D6FA8u, 0},
    {28599, 0x9A508CC9FA06EB60u, 0},
    {54936, 0x9EEE76869CBEB8A5u, 0},
    {65001, 0xF07E7A1F4F4FEF2Au, 0},
};

// Catalogue code pages that neither ICU nor an own table can decode: the EBCDIC code pages of the
// 20xxx series, IA5, T.61, ISO 6937, "Ext Alpha Lowercase" and 100001, which no Windows
// table here describes either.
constexpr unsigned kUndecodable[] = {20105, 20261, 20269, 20273, 20277, 20278, 20280,
                                     20284, 20285, 20290, 20297, 20420, 20423, 20833,
                                     20838, 20871, 20880, 20905, 21025, 21027, 100001};

TEST(CatalogueDecoding, EveryCodePageKeepsItsTables) {
  for (const StaticCodePage& record : StaticCodePageTable()) {
    const unsigned cp = record.codePage;
    const bool undecodable =
        std::find(std::begin(kUndecodable), std::end(kUndecodable), cp) != std::end(kUndecodable);
    EXPECT_EQ(IsSupportedCodePage(cp), !undecodable) << cp;
    if (undecodable) continue;
    const auto* digest = std::find_if(std::begin(kDigests), std::end(kDigests),
                                      [&](const TableDigest& d) { return d.codePage == cp; });
    const uint64_t singles = DecodingDigest(cp, false);
    const uint64_t pairs = HasPairs(cp) ? DecodingDigest(cp, true) : 0;
    if (digest == std::end(kDigests)) {
      ADD_FAILURE() << "no digest for " << cp;
      std::printf("    {%u, 0x%016llXu, 0x%016llXu},\n", cp,
                  static_cast<unsigned long long>(singles), static_cast<unsigned long long>(pairs));
      continue;
    }
    EXPECT_EQ(singles, digest->singleBytes) << cp;
    EXPECT_EQ(pairs, digest->pairs) << cp;
  }
}

TEST(CatalogueDecoding, MatchesWindowsTables) {
  const std::string directory = VELMAR_WINE_NLS_DIR "/";
  int compared = 0;
  std::string skipped;
  for (const StaticCodePage& record : StaticCodePageTable()) {
    if (!IsSupportedCodePage(record.codePage)) {
      skipped += " " + std::to_string(record.codePage) + " (cannot be decoded)";
      continue;
    }
    NlsTable nls;
    char name[32];
    std::snprintf(name, sizeof name, "c_%03u.nls", record.codePage);
    if (!nls.Load(directory + name)) {
      skipped += " " + std::to_string(record.codePage);
      continue;
    }
    ++compared;
    std::string report;
    EXPECT_EQ(CompareWithNls(record.codePage, nls, report), 0) << record.codePage << report;
  }
  // Wine's tables cover these code pages and more: fewer means the tables are not there.
  ASSERT_GE(compared, 60) << "Windows' code page tables missing in " << directory
                          << " (Debian package wine64 with libwine); no table for:" << skipped;
  std::printf("compared %d catalogue code pages with %s; no table for:%s\n", compared,
              directory.c_str(), skipped.c_str());
}

// ---------------------------------------------------------------------------------------------
// The compiled-in data against ICU, from which it was generated: GB18030's decoding and the
// lengths of encoded characters.

struct IcuCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Icu = std::unique_ptr<UConverter, IcuCloser>;

Icu OpenIcu(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  Icu converter(ucnv_open(name, &status));
  if (U_FAILURE(status)) converter.reset();
  return converter;
}

std::u16string IcuDecode(UConverter* converter, const unsigned char* s, int n) {
  UChar out[64];
  UErrorCode status = U_ZERO_ERROR;
  ucnv_reset(converter);
  const int units = ucnv_toUChars(converter, out, 64, reinterpret_cast<const char*>(s), n, &status);
  return std::u16string(reinterpret_cast<const char16_t*>(out), static_cast<size_t>(units));
}

std::u16string OurDecode(const unsigned char* s, int n) {
  char16_t out[64];
  const int units = ToWide(54936, 0, reinterpret_cast<const char*>(s), n, out, 64);
  return std::u16string(out, static_cast<size_t>(units));
}

TEST(CatalogueDecoding, Gb18030AsIcuDecodesIt) {
  const Icu icu = OpenIcu("gb18030");
  ASSERT_TRUE(icu);
  int differences = 0;
  const auto check = [&](const unsigned char* s, int n) {
    if (OurDecode(s, n) == IcuDecode(icu.get(), s, n)) return;
    if (++differences <= 8) ADD_FAILURE() << "bytes" << Hex(std::u16string(s, s + n));
  };
  for (unsigned a = 0; a < 256; ++a) {
    for (unsigned b = 0; b < 256; ++b) {
      const unsigned char pair[2] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b)};
      check(pair, 1);
      check(pair, 2);
    }
  }
  // Every four-byte sequence of the right form (lead, digit, lead, digit).
  for (unsigned index = 0; index < 126u * 10 * 126 * 10; ++index) {
    const unsigned char s[4] = {static_cast<unsigned char>(0x81 + index / 12600),
                                static_cast<unsigned char>(0x30 + index / 1260 % 10),
                                static_cast<unsigned char>(0x81 + index / 10 % 126),
                                static_cast<unsigned char>(0x30 + index % 10)};
    check(s, 4);
  }
  // Ill-formed and cut-off sequences amid others, from the bytes where the forms change.
  const unsigned char edges[] = {0x00, 0x20, 0x2F, 0x30, 0x39, 0x3A, 0x40, 0x7E, 0x7F, 0x80,
                                 0x81, 0x84, 0x8F, 0x90, 0xA1, 0xE3, 0xE4, 0xFE, 0xFF};
  std::uint32_t state = 12345;
  for (int round = 0; round < 300000; ++round) {
    unsigned char s[12];
    const int n = 1 + round % 12;
    for (int i = 0; i < n; ++i) {
      state = state * 1103515245u + 12345u;
      const unsigned pick = state >> 16;
      s[i] = pick % 4 == 0 ? static_cast<unsigned char>(pick >> 8)
                           : edges[(pick >> 2) % std::size(edges)];
    }
    check(s, n);
  }
  EXPECT_EQ(differences, 0);
}

// What the program counted before the lengths were compiled in: ICU's encoded length, and where
// ICU wrote nothing, the table's count (one byte for a unit a single byte gives, else two) or
// one byte a unit without a table.
int ExpectedLength(UConverter* icu, unsigned codePage, const char16_t* units, int n) {
  char out[16];
  UErrorCode status = U_ZERO_ERROR;
  ucnv_resetFromUnicode(icu);
  const int bytes =
      ucnv_fromUChars(icu, out, 16, reinterpret_cast<const UChar*>(units), n, &status);
  if (bytes > 0) return bytes;
  const DecodeTable* table = FindDecodeTable(codePage);
  if (!table) return n;
  int count = 0;
  for (int i = 0; i < n; ++i) {
    bool single = false;
    for (size_t b = 0; b < 256 && !single; ++b) {
      single = table->leadRow[b] == 0 && table->single[b] == units[i];
    }
    count += single ? 1 : 2;
  }
  return count;
}

TEST(CatalogueDecoding, EncodedLengthsAsIcuCountsThem) {
  const std::pair<unsigned, const char*> codePages[] = {{932, "windows-932"},
                                                        {936, "windows-936"},
                                                        {949, "windows-949"},
                                                        {950, "windows-950"},
                                                        {54936, "gb18030"}};
  for (const auto& [codePage, name] : codePages) {
    const Icu icu = OpenIcu(name);
    ASSERT_TRUE(icu) << name;
    int differences = 0;
    for (char32_t c = 0x80; c <= 0x10FFFF; c += c < 0x10000 ? 1 : 7) {
      char16_t units[2] = {static_cast<char16_t>(c), 0};
      int n = 1;
      if (c > 0xFFFF) {
        units[0] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        units[1] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        n = 2;
      }
      const int ours = EncodedByteCount(codePage, std::u16string_view(units, size_t(n)));
      if (ours != ExpectedLength(icu.get(), codePage, units, n) && ++differences <= 8) {
        ADD_FAILURE() << codePage << " U+" << std::hex << unsigned(c) << ": " << ours;
      }
    }
    EXPECT_EQ(differences, 0) << codePage;
  }
}

}  // namespace

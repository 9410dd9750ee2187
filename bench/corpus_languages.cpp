// SPDX-License-Identifier: MIT
#include "bench/corpus_languages.h"

namespace {

// Every byte sequence below is valid in its code page; the two-byte characters avoid trail
// bytes that are RTF syntax characters.
const char* const kEnglish[] = {"the",
                                "valve",
                                "pressure",
                                "must",
                                "be",
                                "checked",
                                "caf\xE9",
                                "na\xEFve",
                                "r\xE9sum\xE9",
                                "pump",
                                "A&B",
                                "\x93quoted\x94",
                                "1 < 2",
                                "x > y",
                                "\"it\"",
                                "\x80"
                                "5",
                                "\x96",
                                "co\xF6perate"};
const char* const kGerman[] = {"das",
                               "Ventil",
                               "Druck",
                               "muss",
                               "gepr\xFC"
                               "ft",
                               "Geh\xE4use",
                               "Stra\xDF"
                               "e",
                               "\xD6l",
                               "\x84"
                               "so\x93",
                               "&amp;",
                               "<Tag>",
                               "Gr\xF6\xDF"
                               "e",
                               "und"};
const char* const kFrench[] = {"la",
                               "soupape",
                               "doit",
                               "\xEAtre",
                               "v\xE9rifi\xE9"
                               "e",
                               "\xE0",
                               "ch\xE2teau",
                               "\xAB"
                               "guillemets\xBB",
                               "\x9C"
                               "uvre"};
const char* const kCzech[] = {"ventil",
                              "mus\xED",
                              "b\xFDt",
                              "zkontrolov\xE1n",
                              "\x9A"
                              "roub",
                              "\xE8"
                              "erpadlo",
                              "ta\x9E"
                              "en\xED",
                              "p\xF8"
                              "ed",
                              "\x8A"
                              "KODA"};
const char* const kPolish[] = {"zaw\xF3r",
                               "musi",
                               "by\xE6",
                               "sprawdzony",
                               "\xB9"
                               "\xEA",
                               "\x9F"
                               "r\xF3"
                               "d\xB3"
                               "o",
                               "\xA3\xF3"
                               "d\x9F"};
const char* const kRussian[] = {"\xEA\xEB\xE0\xEF\xE0\xED",
                                "\xE4\xEE\xEB\xE6\xE5\xED",
                                "\xE1\xFB\xF2\xFC",
                                "\xCD\xC0\xD1\xCE\xD1",
                                "\xB8\xEB\xEA\xE0",
                                "\xE8",
                                "\xC6\xF3\xEA"};
const char* const kUkrainian[] = {"\xEA\xEB\xE0\xEF\xE0\xED", "\xB3", "\xBF\xE6\xE0", "\xBA",
                                  "\xA5\xE0\xED\xEE\xEA"};
const char* const kGreek[] = {
    "\xE2\xE1\xEB\xE2\xDF\xE4\xE1",     "\xF0\xF1\xDD\xF0\xE5\xE9", "\xCD\xE1",
    "\xE5\xEB\xE5\xE3\xF7\xE8\xE5\xDF", "\xB6\xEB\xF6\xE1",         "\xF3\xF4\xEF"};
const char* const kJapanese[] = {
    "\x82\xA0\x82\xA2\x82\xA4", "\x93\x8C\x8B\x9E", "\x8C\xEA", "\xB1\xB2\xB3", "ABC",
    "\x83\x7E\x83\x8B"};
const char* const kChineseSimplified[] = {
    "\xD6\xD0\xCE\xC4", "\xC4\xE3\xBA\xC3", "\xB9\xFA", "\xC8\xCB", "GB", "\xB7\xA7\xC3\xC5"};
const char* const kChineseTraditional[] = {"\xA4\xA4\xA4\xE5", "\xB0\xEA", "\xAA\xBA",
                                           "\xA4\x48",         "\xA7\x41", "\xA6\x6E"};
const char* const kKorean[] = {"\xC7\xD1\xB1\xB9\xBE\xEE", "\xB0\xA1", "\xB3\xAA",
                               "\xB9\xEB\xB8\xEA", "KS"};
const char* const kUtf8[] = {
    "Gr\xC3\xBC\xC3\x9F"
    "e",
    "\xE6\x97\xA5\xE6\x9C\xAC",
    "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC",
    "\xD0\x9C\xD0\xB8\xD1\x80",
    "\xE2\x82\xAC",
    "\xF0\x9F\x98\x80",
    "plain",
    "\xEF\xBB\xBF"
    "bom"};

template <typename T, size_t N>
constexpr size_t Count(const T (&)[N]) {
  return N;
}

#define VELMAR_WORDS(list) list, Count(list)

const CorpusLanguage kLanguages[] = {
    {{"EN-US", "EN_US", "USE", nullptr}, 1252, false, VELMAR_WORDS(kEnglish)},
    {{"DE", "DE-DE", "DE_DE", "GER"}, 1252, false, VELMAR_WORDS(kGerman)},
    {{"FR", "FR_FR", "FRE", nullptr}, 1252, false, VELMAR_WORDS(kFrench)},
    {{"CS", "CS_01", "CZE", nullptr}, 1250, false, VELMAR_WORDS(kCzech)},
    {{"PL", "PL_01", "POL", nullptr}, 1250, false, VELMAR_WORDS(kPolish)},
    {{"RU", "RU_RU", "RUS", nullptr}, 1251, false, VELMAR_WORDS(kRussian)},
    {{"UK", "UK_01", nullptr, nullptr}, 1251, false, VELMAR_WORDS(kUkrainian)},
    {{"EL", "EL_01", "HEL", nullptr}, 1253, false, VELMAR_WORDS(kGreek)},
    {{"JA", "JA_01", "JPN", nullptr}, 932, true, VELMAR_WORDS(kJapanese)},
    {{"ZH-CN", "ZH_CN", "CHS", nullptr}, 936, true, VELMAR_WORDS(kChineseSimplified)},
    {{"ZH-TW", "ZH_TW", "CHT", nullptr}, 950, true, VELMAR_WORDS(kChineseTraditional)},
    {{"KO", "KO_KR", "KOR", nullptr}, 949, true, VELMAR_WORDS(kKorean)},
    {{"EN-GB", "EN_GB", "UKE", nullptr}, 65001, false, VELMAR_WORDS(kUtf8)},
};

#undef VELMAR_WORDS

}  // namespace

const char* const kOddLanguageCodes[] = {"en-us",  "XX-XX", "ENU",   "",      "SK-SK", "DA_DA",
                                         "EN-US ", "EN",    "FA_00", "IW_01", "HE"};
const size_t kOddLanguageCodeCount = Count(kOddLanguageCodes);

const CorpusLanguage* CorpusLanguages() {
  return kLanguages;
}
size_t CorpusLanguageCount() {
  return Count(kLanguages);
}

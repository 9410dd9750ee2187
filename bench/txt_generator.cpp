// SPDX-License-Identifier: MIT
#include "bench/txt_generator.h"

#include <cstdio>
#include <memory>
#include <random>

#include "bench/rtf_segments.h"

namespace {

const char* const kWords[] = {
    "the",          "valve",   "pressure", "must",   "be",      "checked",  "before",  "every",
    "start",        "of",      "pump",     "system", "manual",  "operator", "caf\xE9", "na\xEFve",
    "r\xE9sum\xE9", "warning", "switch",   "cable",  "housing", "screw",    "torque"};
const char* const kWordsDe[] = {"das",    "Ventil",     "Druck",      "muss",    "vor",
                                "jedem",  "Start",      "gepr\374ft", "werden",  "Pumpe",
                                "System", "Handbuch",   "Bediener",   "Warnung", "Schalter",
                                "Kabel",  "Geh\xE4use", "Schraube"};

std::string Sentence(std::mt19937& rng, const char* const* words, size_t count, int length) {
  std::string s;
  for (int i = 0; i < length; ++i) {
    if (i) s += ' ';
    s += words[rng() % count];
  }
  s += '.';
  if (rng() % 4 == 0) s += " It\\'92s fine.";
  return s;
}

std::string Date(std::mt19937& rng) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02lu%02lu%04lu, %02lu:%02lu:%02lu", 1 + rng() % 28,
                1 + rng() % 12, 1995 + rng() % 20, rng() % 24, rng() % 60, rng() % 60);
  return buffer;
}

const char kPreamble[] =
    "<RTF Preamble>\r\n<FontTable>\r\n{\\fonttbl\r\n{\\f1 \\fmodern\\fprq1 \\fcharset0 Courier "
    "New;}}\r\n<StyleSheet>\r\n{\\stylesheet\r\n{\\St \\s0 {\\StN Normal}}\r\n{\\St \\cs6 {\\StB "
    "\\v\\f1\\fs24\\sub\\cf12 }{\\StN korvexInternal}}\r\n{\\St \\cs8 {\\StB \\cf6\\f1\\lang1024 "
    "}{\\StN DO_NOT_TRANSLATE}}}\r\n</RTF Preamble>\r\n";

}  // namespace

int64_t WriteTxtFile(const std::string& path, int64_t minUnits, int64_t minBytes,
                     SegmentStyle style) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f) return -1;
  std::mt19937 rng(42);
  int64_t bytes = 0, units = 0;
  std::string unit;
  auto put = [&](const std::string& s) { unit += s; };
  bytes += static_cast<int64_t>(std::fwrite(kPreamble, 1, sizeof kPreamble - 1, f.get()));
  const size_t nWords = sizeof kWords / sizeof *kWords;
  const size_t nWordsDe = sizeof kWordsDe / sizeof *kWordsDe;
  while (units < minUnits || bytes < minBytes) {
    unit.clear();
    put("<TrU>\r\n");
    put("<CrD>" + Date(rng) + "\r\n");
    put("<CrU>TRANSLATOR" + std::to_string(rng() % 50) + "\r\n");
    put("<ChD>" + Date(rng) + "\r\n");
    put("<ChU>REVIEWER" + std::to_string(rng() % 20) + "\r\n");
    put("<UsD>" + Date(rng) + "\r\n");
    put("<UsC>" + std::to_string(rng() % 40) + "\r\n");
    put("<Att L=Client>Norvane, Harbour Lines\r\n");
    if (rng() % 3 == 0) put("<Txt L=Note>Reviewed & approved\r\n");
    if (style == SegmentStyle::RtfHeavy) {
      put("<Seg L=EN-US>" + MakeRtfHeavySegment(42, static_cast<int>(units)) + "\r\n");
      put("<Seg L=DE-DE>" + MakeRtfHeavySegment(43, static_cast<int>(units)) + "\r\n");
    } else {
      put("<Seg L=EN-US>" + Sentence(rng, kWords, nWords, 8 + static_cast<int>(rng() % 12)) +
          "\r\n");
      put("<Seg L=DE-DE>" + Sentence(rng, kWordsDe, nWordsDe, 8 + static_cast<int>(rng() % 12)) +
          "\r\n");
      if (style == SegmentStyle::FourLanguages) {
        for (const char* code : {"FR-FR", "IT-IT"}) {
          put(std::string("<Seg L=") + code + ">" +
              Sentence(rng, kWordsDe, nWordsDe, 8 + static_cast<int>(rng() % 12)) + "\r\n");
        }
      }
    }
    put("</TrU>\r\n");
    if (std::fwrite(unit.data(), 1, unit.size(), f.get()) != unit.size()) return -1;
    bytes += static_cast<int64_t>(unit.size());
    ++units;
  }
  return std::fflush(f.get()) == 0 ? units : -1;
}

bool WriteLongLineFile(const std::string& path, int64_t lineBytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f) return false;
  std::fputs("<TrU>\r\n<Seg L=EN-US>", f.get());
  const std::string chunk = "the valve pressure must be checked before every start. ";
  int64_t written = 0;
  while (written < lineBytes) {
    std::fwrite(chunk.data(), 1, chunk.size(), f.get());
    written += static_cast<int64_t>(chunk.size());
  }
  std::fputs("\r\n<Seg L=DE-DE>Kurz.\r\n</TrU>\r\n", f.get());
  return std::fflush(f.get()) == 0;
}

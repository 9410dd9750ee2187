// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes as a source and a target segment through the inline
// conversion. The first byte picks the code page; the rest is split at its first NUL byte into
// the source and the target segment (without a NUL, both sides get the same bytes). The two
// <seg> contents must make a valid TMX unit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_adapter.h"
#include "tests/fuzz/xml_check.h"

namespace {

// Western, Japanese, simplified Chinese, UTF-8 and a single-byte Cyrillic page.
constexpr int kCodePages[] = {1252, 932, 936, 65001, 1251};

std::string UnitDocument(const fuzz::SegmentPair& pair) {
  std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<tmx version=\"1.4\"><header creationtool=\"fuzz\" creationtoolversion=\"1\" "
      "segtype=\"sentence\" o-tmf=\"fuzz\" adminlang=\"EN-US\" srclang=\"EN-US\" "
      "datatype=\"rtf\"/><body><tu><tuv xml:lang=\"EN-US\"><seg>";
  doc += pair.source;
  doc += "</seg></tuv><tuv xml:lang=\"DE\"><seg>";
  doc += pair.target;
  doc += "</seg></tuv></tu></body></tmx>\n";
  return doc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int codePage = kCodePages[data[0] % (sizeof kCodePages / sizeof *kCodePages)];
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t split = rest.find('\0');
  const std::string_view source = rest.substr(0, split);
  const std::string_view target = split == std::string_view::npos ? rest : rest.substr(split + 1);
  fuzz::RequireValidTmx(UnitDocument(fuzz::ConvertSegmentPair(source, target, codePage)),
                        "segment pair");
  return 0;
}

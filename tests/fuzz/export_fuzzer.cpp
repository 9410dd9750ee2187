// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes as a whole TXT file through the export into memory. The
// first byte picks the code page of both languages (EN-US and DE); the rest is the file. The
// document written must be well-formed and valid against the TMX 1.4 DTD.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_adapter.h"
#include "tests/fuzz/xml_check.h"

namespace {

constexpr int kCodePages[] = {1252, 932, 936, 65001, 1251};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int codePage = kCodePages[data[0] % (sizeof kCodePages / sizeof *kCodePages)];
  const std::string_view txt(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string tmx = fuzz::ExportTxtToMemory(txt, codePage);
  if (tmx.empty()) std::abort();  // a readable TXT file always gives a document
  fuzz::RequireValidTmx(tmx, "export");
  return 0;
}

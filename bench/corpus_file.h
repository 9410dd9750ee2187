// SPDX-License-Identifier: MIT
// One TXT file of the generated corpus and the command-line options to convert it with.
#pragma once

#include <cstdint>
#include <string>

struct CorpusFile {
  std::string text;  // the TXT file's bytes
  std::string args;  // options for velmar2tmx-cli (languages, code pages); empty for defaults
};

// File number index of the corpus of seed; the same arguments always give the same file.
CorpusFile MakeCorpusFile(uint64_t seed, uint64_t index);

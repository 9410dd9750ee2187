// SPDX-License-Identifier: MIT
// velmar-make-corpus DIR COUNT SEED: writes COUNT small Vovuzaduz TXT files (DIR/NNNNN.txt) of
// many kinds for comparing two builds, and beside each file whose conversion needs options
// (languages, code pages) an NNNNN.args file holding them. The same seed gives the same files.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/corpus_file.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

bool ParseNumber(const char* text, unsigned long long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(text, &end, 10);
  return errno == 0 && end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  unsigned long long count = 0, seed = 0;
  if (argc != 4 || !ParseNumber(argv[2], count) || !ParseNumber(argv[3], seed)) {
    std::fprintf(stderr, "usage: velmar-make-corpus DIR COUNT SEED\n");
    return 2;
  }
  const std::string dir = argv[1];
  for (unsigned long long i = 0; i < count; ++i) {
    const CorpusFile file = MakeCorpusFile(seed, i);
    char name[32];
    std::snprintf(name, sizeof name, "/%05llu", i);
    const std::string base = dir + name;
    if (!WriteFile(base + ".txt", file.text) ||
        (!file.args.empty() && !WriteFile(base + ".args", file.args + "\n"))) {
      std::fprintf(stderr, "velmar-make-corpus: cannot write %s: %s\n", base.c_str(),
                   std::strerror(errno));
      return 3;
    }
  }
  return 0;
}

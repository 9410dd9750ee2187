// SPDX-License-Identifier: MIT
// velmar-make-txt OUT.txt UNITS [plain|rtf] [MIN-BYTES]: writes a Vovuzaduz TXT file for
// benchmarks and trials, of at least UNITS units and MIN-BYTES bytes (velmar-throughput's plain
// file: 200000 plain 65000000).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/txt_generator.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: velmar-make-txt OUT.txt UNITS [plain|rtf] [MIN-BYTES]\n");
    return 2;
  }
  const long long units = std::atoll(argv[2]);
  const SegmentStyle style =
      argc > 3 && std::string(argv[3]) == "rtf" ? SegmentStyle::RtfHeavy : SegmentStyle::Plain;
  const long long minBytes = argc > 4 ? std::atoll(argv[4]) : 0;
  const int64_t written = WriteTxtFile(argv[1], units, minBytes, style);
  if (written < 0) {
    std::perror(argv[1]);
    return 3;
  }
  std::printf("%lld units written to %s\n", static_cast<long long>(written), argv[1]);
  return 0;
}

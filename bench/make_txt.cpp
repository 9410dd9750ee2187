// SPDX-License-Identifier: MIT
// velmar-make-txt OUT.txt UNITS [rtf]: writes a Vovuzaduz TXT file for benchmarks and trials.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/txt_generator.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: velmar-make-txt OUT.txt UNITS [rtf]\n");
    return 2;
  }
  const long long units = std::atoll(argv[2]);
  const SegmentStyle style =
      argc > 3 && std::string(argv[3]) == "rtf" ? SegmentStyle::RtfHeavy : SegmentStyle::Plain;
  const int64_t written = WriteTxtFile(argv[1], units, 0, style);
  if (written < 0) {
    std::perror(argv[1]);
    return 3;
  }
  std::printf("%lld units written to %s\n", static_cast<long long>(written), argv[1]);
  return 0;
}

// SPDX-License-Identifier: MIT
// One huge segment made of "{\b x}" groups through the inline conversion as the engine does it
// (ConvertUnit into UTF-8 bytes): the time and the peak memory it takes, and the memory per byte
// of segment.
// Each size runs in a child process of its own, so each peak is measured from a fresh process.
//
//   velmar-huge-segment [MEGABYTES...]      (default: 25 50)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "inline/inline_converter.h"

namespace {

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::string GroupSegment(size_t bytes) {
  const std::string group = "{\\b x}";
  std::string s;
  s.reserve(bytes + group.size());
  while (s.size() + group.size() <= bytes) s += group;
  return s;
}

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs in the child: converts one segment as the engine does (one ConvertUnit into UTF-8
// bytes) and prints one line of figures: the time, the peak above what the process held with
// the segment made, and the peak of the whole process, each per byte of segment.
int MeasureOne(size_t megabytes) {
  const std::string segment = GroupSegment(megabytes * 1000 * 1000);
  const long before = PeakKilobytes();
  const auto start = std::chrono::steady_clock::now();
  size_t outputBytes = 0;
  {
    InlineConverter converter;
    InlineUnit unit;
    unit.source = {segment, 1252};
    outputBytes = converter.ConvertUnit(unit)[0].encoded.size();
  }
  const double seconds = SecondsSince(start);
  const double bytes = static_cast<double>(segment.size());
  const double peak = static_cast<double>(PeakKilobytes() - before) * 1024.0;
  const double whole = static_cast<double>(PeakKilobytes()) * 1024.0;
  std::printf(
      "%3zu MB segment: %6.2f s, %8.1f MB/s, peak %7.1f MB above the segment, "
      "%5.1f bytes per segment byte (whole process %5.1f; output %zu UTF-8 bytes, "
      "%ld page faults)\n",
      megabytes, seconds, bytes / 1e6 / seconds, peak / 1e6, peak / bytes, whole / bytes,
      outputBytes, MinorFaults());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<size_t> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::strtoul(argv[i], nullptr, 10));
  if (sizes.empty()) sizes = {25, 50};
  int failures = 0;
  for (size_t megabytes : sizes) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
      const int code = MeasureOne(megabytes);
      std::fflush(stdout);
      _exit(code);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "the %zu MB measurement failed\n", megabytes);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}

// SPDX-License-Identifier: MIT
// One huge segment made of "{\b x}" groups through the inline conversion as the engine does it
// (ConvertSegment, then PairInlineTagsEncoded into UTF-8 bytes): the time and the peak memory it
// takes, and the memory per byte of segment.
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

// The peak from now on (Linux: the process's high-water mark is set back to what it holds now);
// false where it cannot be.
bool ResetPeak() {
  std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
  if (!f) return false;
  const bool ok = std::fputs("5", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

// The high-water mark that ResetPeak sets back, or -1.
long HighWaterKilobytes() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kilobytes = -1;
  while (std::fgets(line, sizeof line, f)) {
    if (std::sscanf(line, "VmHWM: %ld kB", &kilobytes) == 1) break;
  }
  std::fclose(f);
  return kilobytes;
}

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs in the child: converts one segment, prints one line of figures, and one line of the two
// steps (time, the peak of each step where the peak can be set back between them, and page
// faults, which stand for memory first touched).
int MeasureOne(size_t megabytes) {
  const std::string segment = GroupSegment(megabytes * 1000 * 1000);
  const long before = PeakKilobytes();
  const long faultsBefore = MinorFaults();
  const auto start = std::chrono::steady_clock::now();
  size_t outputBytes = 0;
  double convertSeconds = 0;
  long convertPeak = 0, convertFaults = 0, pairPeak = -1;
  {
    InlineConverter converter;
    const WideString markup = converter.ConvertSegment(segment, 1252, true);
    convertSeconds = SecondsSince(start);
    convertPeak = PeakKilobytes() - before;
    convertFaults = MinorFaults() - faultsBefore;
    const bool reset = ResetPeak();
    std::string content;
    converter.PairInlineTagsEncoded(markup, true, false, content);
    outputBytes = content.size();
    if (reset) pairPeak = HighWaterKilobytes() - before;
  }
  const double seconds = SecondsSince(start);
  const long overall = pairPeak < 0 ? PeakKilobytes() - before : std::max(convertPeak, pairPeak);
  const double peak = static_cast<double>(overall) * 1024.0;
  const double bytes = static_cast<double>(segment.size());
  std::printf(
      "%3zu MB segment: %6.2f s, %8.1f MB/s, peak %7.1f MB above the segment, "
      "%5.1f bytes per segment byte (output %zu UTF-8 bytes)\n",
      megabytes, seconds, bytes / 1e6 / seconds, peak / 1e6, peak / bytes, outputBytes);
  std::printf(
      "       ConvertSegment %6.2f s, peak %5.1f B/B, %7ld page faults; "
      "PairInlineTagsEncoded %6.2f s, peak %5.1f B/B, %7ld page faults\n",
      convertSeconds, static_cast<double>(convertPeak) * 1024.0 / bytes, convertFaults,
      seconds - convertSeconds, pairPeak < 0 ? 0.0 : static_cast<double>(pairPeak) * 1024.0 / bytes,
      MinorFaults() - faultsBefore - convertFaults);
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

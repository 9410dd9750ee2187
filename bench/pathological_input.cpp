// SPDX-License-Identifier: MIT
// The cost of converting pathological TXT files (deep braces, runs of backslashes, of byte
// escape heads, of "<", and NUL bytes): each at size n and 4n, in a child process of its own,
// with the processor time and the peak memory of each, and their growth from n to 4n. Linear
// work costs about 4 times as much at 4n; quadratic work 16 times. Exits 1 when a conversion
// fails or grows by more than 8 times.
//
//   velmar-pathological-input [SCALE]   (sizes times SCALE, default 1)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "engine/tmx_exporter.h"

namespace {

struct Cost {
  double cpuSeconds = 0;
  double peakBytes = 0;
  bool ok = false;
};

std::string Repeat(const std::string& piece, size_t count) {
  std::string out;
  out.reserve(piece.size() * count);
  for (size_t i = 0; i < count; ++i) out += piece;
  return out;
}

std::string OneUnit(const std::string& payload) {
  return "<TrU>\r\n<Seg L=EN-US>" + payload + "\r\n<Seg L=DE>x\r\n</TrU>\r\n";
}

struct Input {
  const char* name;
  std::function<std::string(size_t)> make;
  size_t fourN;
};

const Input kInputs[] = {
    {"nested_braces", [](size_t n) { return OneUnit(std::string(n, '{')); }, 1000000},
    {"backslashes", [](size_t n) { return OneUnit(std::string(n, '\\')); }, 10000000},
    {"byte_escape_heads", [](size_t n) { return OneUnit(Repeat("\\'", n / 2)); }, 10000000},
    {"angle_brackets", [](size_t n) { return OneUnit(std::string(n, '<')); }, 1000000},
    {"nul_bytes", [](size_t n) { return std::string(n, '\0'); }, 10000000},
};

bool Convert(const std::string& txt, const std::string& tmx) {
  CTmxExporter exporter;
  ExportRequest request;
  request.txtPath = txt;
  request.tmxPath = tmx;
  request.sourceCode = "EN-US";
  request.sourceCodePage = 1252;
  request.targetCode = "DE";
  request.targetCodePage = 1252;
  return exporter.Export(request, nullptr).stop != ExportResult::Stop::Failed;
}

Cost CostInChild(const std::string& txt, const std::string& tmx) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) _exit(Convert(txt, tmx) ? 0 : 1);
  int status = 0;
  rusage usage{};
  Cost cost;
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return cost;
  cost.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  cost.peakBytes = static_cast<double>(usage.ru_maxrss) * 1024.0;
  cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return cost;
}

}  // namespace

int main(int argc, char** argv) {
  const double scale = argc > 1 ? std::strtod(argv[1], nullptr) : 1.0;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("velmar-pathological-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string txt = (dir / "in.txt").string(), tmx = (dir / "out.tmx").string();
  int failures = 0;
  for (const Input& input : kInputs) {
    const size_t fourN = static_cast<size_t>(static_cast<double>(input.fourN) * scale);
    Cost costs[2];
    const size_t sizes[2] = {fourN / 4, fourN};
    for (int i = 0; i < 2; ++i) {
      std::ofstream(txt, std::ios::binary) << input.make(sizes[i]);
      costs[i] = CostInChild(txt, tmx);
    }
    const double growth =
        costs[1].cpuSeconds / (costs[0].cpuSeconds > 0 ? costs[0].cpuSeconds : 1e-6);
    const bool fine =
        costs[0].ok && costs[1].ok && costs[1].cpuSeconds < 8 * costs[0].cpuSeconds + 0.1;
    std::printf("%-18s n %9zu: %6.3f s, peak %6.1f MB; 4n: %6.3f s, peak %6.1f MB; time x%.1f%s\n",
                input.name, sizes[0], costs[0].cpuSeconds, costs[0].peakBytes / 1e6,
                costs[1].cpuSeconds, costs[1].peakBytes / 1e6, growth,
                fine ? "" : "  <- failed or more than linear");
    if (!fine) ++failures;
  }
  std::filesystem::remove_all(dir);
  return failures == 0 ? 0 : 1;
}

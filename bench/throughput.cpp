// SPDX-License-Identifier: MIT
// Converter throughput against uconv on the same files, peak memory, and linearity in the file
// size and in the line length. Each figure is the best of --runs runs, the converter's and
// uconv's runs taking turns.
// Prints a table of 1, 2 and 4 threads, the cost of a report, and a four-language file with all
// languages; --baseline CLI measures another build (e.g. an older one) on the same files.
//   velmar-throughput [--units N] [--dir DIR] [--runs N] [--baseline CLI]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench/txt_generator.h"

extern char** environ;

namespace {

struct RunResult {
  double seconds = 0;
  long peakKb = 0;
  int status = -1;
};

RunResult Run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  RunResult r;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return r;
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.peakKb = usage.ru_maxrss;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  posix_spawn_file_actions_destroy(&actions);
  return r;
}

// Keeps the fastest time and the largest peak of the runs so far.
void Keep(RunResult& best, const RunResult& r, bool first) {
  if (first || r.seconds < best.seconds) best.seconds = r.seconds;
  best.peakKb = std::max(best.peakKb, r.peakKb);
  best.status = r.status;
}

RunResult Best(const std::vector<std::string>& args, int runs) {
  RunResult best;
  for (int i = 0; i < runs; ++i) Keep(best, Run(args), i == 0);
  return best;
}

// The best of each of two commands, their runs taking turns, so that a machine whose speed
// drifts during the measurement slows both alike.
std::pair<RunResult, RunResult> BestOfTurns(const std::vector<std::string>& a,
                                            const std::vector<std::string>& b, int runs) {
  std::pair<RunResult, RunResult> best;
  for (int i = 0; i < runs; ++i) {
    Keep(best.first, Run(a), i == 0);
    Keep(best.second, Run(b), i == 0);
  }
  return best;
}

double Mb(long kb) {
  return static_cast<double>(kb) / 1024.0;
}

double FileMb(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return static_cast<double>(st.st_size) / 1e6;
}

std::string SelfDir(const char* argv0) {
  std::string self = argv0;
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) self.assign(buffer, static_cast<size_t>(n));
  const size_t slash = self.rfind('/');
  return slash == std::string::npos ? "." : self.substr(0, slash);
}

std::vector<std::string> ConvertCommand(const std::string& cli, const std::string& txt,
                                        const std::string& tmx,
                                        const std::vector<std::string>& extra = {}) {
  std::vector<std::string> args = {cli, "-q", "-s", "EN-US"};
  if (std::find(extra.begin(), extra.end(), "-A") == extra.end()) {
    args.insert(args.end(), {"-t", "DE-DE"});
  }
  args.insert(args.end(), extra.begin(), extra.end());
  args.insert(args.end(), {"-o", tmx, txt});
  return args;
}

// The thread table (with the baseline build, if any), the cost of a report and the
// four-language file with all languages.
template <typename Compare>
void CompareThreadsAndReport(Compare& compare, const std::string& plain, const std::string& rtf,
                             const std::string& dir, const std::string& baseline, long long units) {
  std::printf("\nthreads (this machine has %u cores)\n", std::thread::hardware_concurrency());
  for (const auto& [name, txt] :
       {std::pair<std::string, std::string>{"plain", plain}, {"rtf-heavy", rtf}}) {
    for (const char* threads : {"1", "2", "4"}) {
      compare(name + ", " + threads + " thread(s)", txt, {"--threads", threads});
    }
    if (!baseline.empty()) compare(name + ", baseline build", txt, {}, baseline);
  }

  std::printf("\nreport and all languages (default threads)\n");
  compare("plain, no report", plain);
  compare("plain, --report", plain, {"--report", dir + "/report.json"});
  std::remove((dir + "/report.json").c_str());
  const std::string four = dir + "/four-languages.txt";
  WriteTxtFile(four, units, 65'000'000, SegmentStyle::FourLanguages);
  compare("four languages, -A", four, {"-A"});
  std::remove(four.c_str());
  std::printf("\n");
}

// One 50 MB line against 50 MB of ordinary lines.
void CompareLineLengths(const std::string& cli, const std::string& dir, const std::string& tmx,
                        int runs) {
  const std::string longLine = dir + "/long-line.txt";
  WriteLongLineFile(longLine, 50'000'000);
  const std::string ordinary = dir + "/ordinary-50mb.txt";
  WriteTxtFile(ordinary, 0, 50'000'000, SegmentStyle::Plain);
  const RunResult one = Best(ConvertCommand(cli, longLine, tmx), runs);
  const RunResult many = Best(ConvertCommand(cli, ordinary, tmx), runs);
  std::printf(
      "one 50 MB line: %.3f s (peak %.1f MB); 50 MB of ordinary lines: %.3f s (peak %.1f MB)\n",
      one.seconds, Mb(one.peakKb), many.seconds, Mb(many.peakKb));
  std::remove(longLine.c_str());
  std::remove(ordinary.c_str());
}

struct Options {
  long long units = 200000;
  int runs = 3;
  std::string dir = "/tmp/velmar-bench";
  std::string baseline;
};

constexpr const char* kUsage =
    "usage: velmar-throughput [--units N] [--runs N] [--dir DIR] [--baseline CLI]\n";

// The options; an unknown option, or one without its value, ends the program with the usage
// (on standard output for --help, with status 0).
Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "velmar-throughput: %s needs a value\n%s", a.c_str(), kUsage);
      std::exit(2);
    }
    if (a == "--units") {
      o.units = std::atoll(argv[i + 1]);
    } else if (a == "--dir") {
      o.dir = argv[i + 1];
    } else if (a == "--runs") {
      o.runs = std::atoi(argv[i + 1]);
    } else if (a == "--baseline") {
      o.baseline = argv[i + 1];
    } else {
      std::fprintf(stderr, "velmar-throughput: unknown option %s\n%s", a.c_str(), kUsage);
      std::exit(2);
    }
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  const auto [units, runs, dir, baseline] = ParseOptions(argc, argv);
  mkdir(dir.c_str(), 0755);
  const std::string cli = SelfDir(argv[0]) + "/../velmar2tmx-cli";
  const std::string tmx = dir + "/out.tmx";
  const std::string utf8 = dir + "/out.utf8";

  std::printf("%-28s %10s %10s %10s %8s %10s\n", "file", "MB", "ours MB/s", "uconv MB/s", "ratio",
              "peak MB");
  auto compare = [&](const std::string& name, const std::string& txt,
                     std::vector<std::string> extra = {}, const std::string& program = {}) {
    const double mb = FileMb(txt);
    const auto [ours, theirs] =
        BestOfTurns(ConvertCommand(program.empty() ? cli : program, txt, tmx, extra),
                    {"uconv", "-f", "windows-1252", "-t", "utf-8", "-o", utf8, txt}, runs);
    if (ours.status != 0) {
      std::printf("%s: converter exit status %d\n", name.c_str(), ours.status);
    }
    std::printf("%-28s %10.1f %10.1f %10.1f %8.2f %10.1f\n", name.c_str(), mb, mb / ours.seconds,
                mb / theirs.seconds, theirs.seconds / ours.seconds,
                static_cast<double>(ours.peakKb) / 1024.0);
    return ours;
  };

  const std::string plain = dir + "/plain.txt";
  WriteTxtFile(plain, units, 65'000'000, SegmentStyle::Plain);
  const RunResult base = compare("plain", plain);

  const std::string plain2 = dir + "/plain-x2.txt";
  WriteTxtFile(plain2, units * 2, 130'000'000, SegmentStyle::Plain);
  const RunResult twice = compare("plain, twice the size", plain2);
  std::remove(plain2.c_str());

  const std::string rtf = dir + "/rtf-heavy.txt";
  WriteTxtFile(rtf, units, 65'000'000, SegmentStyle::RtfHeavy);
  compare("rtf-heavy", rtf);

  CompareThreadsAndReport(compare, plain, rtf, dir, baseline, units);
  std::remove(rtf.c_str());

  std::printf("\nscaling: twice the file takes %.2fx the time, peak %.1f MB vs %.1f MB\n",
              twice.seconds / base.seconds, Mb(twice.peakKb), Mb(base.peakKb));
  CompareLineLengths(cli, dir, tmx, runs);
  std::remove(plain.c_str());
  std::remove(tmx.c_str());
  std::remove(utf8.c_str());
  return 0;
}

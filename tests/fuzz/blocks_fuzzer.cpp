// SPDX-License-Identifier: MIT
// libFuzzer target: a TXT file larger than two of the reader's blocks, made of copies of the
// input, exported twice: from a file on one thread, and from a FIFO fed in pieces of varying
// size on two to four threads. The first byte picks the code page (as the export target's does)
// and the threads; a first line whose length depends on the input moves the copies across the
// block boundaries. Both documents must be the same and valid, both reports the same, and each
// language's Seg lines must add up (read = written + in skipped units + left out).
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>

#include "engine/line_reader.h"
#include "engine/report_json.h"
#include "tests/fuzz/fuzz_adapter.h"
#include "tests/fuzz/xml_check.h"

namespace {

constexpr int kCodePages[] = {1252, 932, 936, 65001, 1251};
constexpr size_t kPieces[] = {1, 4093, 65535, 65536, 65537, 3, 131072, 10007};

// Whether the bytes begin as a marked or unmarked Unicode file does (no line may go first then).
bool StartsAsUnicode(std::string_view body) {
  return body.starts_with("\xEF\xBB\xBF") || body.starts_with("\xFF\xFE") ||
         body.starts_with("\xFE\xFF") || body.starts_with(std::string_view("<\0", 2)) ||
         body.starts_with(std::string_view("\0<", 2));
}

std::string Enlarged(std::string_view body, size_t shift) {
  std::string txt;
  if (!StartsAsUnicode(body)) txt.assign(shift % LineReader::kBlockSize, 'x').append("\r\n");
  while (txt.size() <= 2 * LineReader::kBlockSize) txt.append(body).append("\r\n");
  return txt;
}

void WriteAll(int fd, std::string_view bytes, size_t firstPiece) {
  for (size_t k = firstPiece; !bytes.empty(); ++k) {
    const size_t piece = std::min(bytes.size(), kPieces[k % std::size(kPieces)]);
    const ssize_t n = ::write(fd, bytes.data(), piece);
    if (n <= 0) return;  // the reader went away
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

// Exports txt from a FIFO that a thread of its own fills in pieces.
std::string ExportThroughFifo(const std::string& txt, int codePage, int threads, size_t firstPiece,
                              ExportReport& report) {
  const std::string fifo = fuzz::WorkFolder() + "/large.fifo";
  struct stat st {};
  if (::stat(fifo.c_str(), &st) != 0 && ::mkfifo(fifo.c_str(), 0600) != 0) std::abort();
  std::atomic<bool> done{false};
  std::thread writer([&] {
    const int fd = ::open(fifo.c_str(), O_WRONLY);
    if (fd >= 0) {
      WriteAll(fd, txt, firstPiece);
      ::close(fd);
    }
    done = true;
  });
  const std::string tmx = fuzz::ExportPathToMemory(fifo, codePage, threads, &report);
  // Should the export have left anything unread, the writer is drained so that it ends.
  const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  char buffer[65536];
  while (!done) {
    if (fd < 0 || ::read(fd, buffer, sizeof buffer) <= 0) {
      pollfd p{fd, POLLIN, 0};
      ::poll(&p, fd >= 0 ? 1 : 0, 10);
    }
  }
  if (fd >= 0) ::close(fd);
  writer.join();
  return tmx;
}

void RequireSegmentsAddUp(const ExportReport& report) {
  for (const auto& [language, c] : report.segments) {
    if (c.read != c.written + c.inSkippedUnits + c.leftOut.Total()) {
      std::fprintf(stderr, "blocks: the Seg lines of %s do not add up\n", language.c_str());
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::signal(SIGPIPE, SIG_IGN);  // the FIFO's reader may close it early
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int codePage = kCodePages[data[0] % std::size(kCodePages)];
  const int threads = 2 + data[0] / std::size(kCodePages) % 3;
  const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string txt = Enlarged(body, size * 2654435761u);

  const std::string path = fuzz::WorkFolder() + "/large.txt";
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(txt.data(), static_cast<std::streamsize>(txt.size()));
    if (!file) std::abort();
  }
  ExportReport one, many;
  const std::string first = fuzz::ExportPathToMemory(path, codePage, 1, &one);
  const std::string second = ExportThroughFifo(txt, codePage, threads, data[1], many);
  if (first.empty() || first != second) {
    std::fprintf(stderr, "blocks: %d threads from a FIFO wrote another document than one\n",
                 threads);
    std::abort();
  }
  one.txtPath = many.txtPath;
  if (ReportJson({one}) != ReportJson({many})) {
    std::fprintf(stderr, "blocks: the reports of one and %d threads differ\n", threads);
    std::abort();
  }
  RequireSegmentsAddUp(one);
  fuzz::RequireValidTmx(first, "blocks");
  return 0;
}

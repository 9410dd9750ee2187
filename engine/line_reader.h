// SPDX-License-Identifier: MIT
// LineReader: the lines of an input file, block by block. It tells the file's form by its first
// bytes (byte-order mark, or UTF-16 without one), hands UTF-16 input out as UTF-8, leaves NUL
// characters out and asks between blocks whether to stop.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "text/default_init.h"
#include "text/tuning.h"

class ProgressReporter;

// How the bytes of an input file hold its text, as its first bytes tell.
enum class InputForm {
  kBytes,       // 8-bit text in the languages' code pages (no mark)
  kUtf8Marked,  // UTF-8 after EF BB BF
  kUtf16Le,     // UTF-16 little-endian after FF FE, or starting "<" NUL: read as UTF-8
  kUtf16Be,     // UTF-16 big-endian after FE FF, or starting NUL "<": read as UTF-8
};

class LineReader {
 public:
  static constexpr size_t kBlockSize = tuning::kReadBlockBytes;

  LineReader() = default;
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Opens the file for reading; false with Error() telling why.
  [[nodiscard]] bool Open(const std::string& path);
  void Close();

  // Asked before every block read: true ends the input (StopRequested then tells).
  void SetStopCheck(ProgressReporter* progress) { m_stopCheck = progress; }
  bool StopRequested() const { return m_stopRequested; }
  // How the input holds its text (known once the first line has been read). UTF-16 input is
  // handed out as UTF-8.
  InputForm Form() const { return m_form; }

  // The next line without its line end; false at the end of the input (or after a read error).
  bool ReadLine(std::string& line);
  // The same, as a view into the pending bytes that stays valid until the next call.
  bool ReadLineView(std::string_view& line);

  // The file's size in bytes when it was opened.
  int64_t Length() const { return m_length; }
  bool IsOpen() const { return m_fd >= 0; }
  // errno of the failed open or of the read failure that ended the input, 0 when none.
  int Error() const { return m_error; }
  bool ReadFailed() const { return m_error != 0; }

 private:
  bool ReadBlock();
  // Reads up to size bytes; 0 at the end; -1 with m_error set.
  ssize_t ReadSome(char* data, size_t size);
  // The first block: recognises a byte-order mark (or UTF-16 without one).
  size_t ReadFirstBlock(char* data);
  // UTF-16 input: size more bytes read at data become UTF-8 in m_pending.
  void AppendTranscoded(const char* data, size_t size);
  // The line that ends at the end of the input (when it holds anything).
  bool LastLine(std::string_view& line);

  static constexpr size_t kKeptRoom =
      tuning::kKeptTextUnits;  // pending room kept after a long line

  int m_fd = -1;
  InputForm m_form = InputForm::kBytes;
  bool m_firstBlock = true;
  std::string m_carry;     // UTF-16 input: a byte or a high surrogate held for the next block
  std::u16string m_units;  // UTF-16 input: the block's characters
  std::string m_utf8;      // UTF-16 input: the block's characters as UTF-8
  ProgressReporter* m_stopCheck = nullptr;
  bool m_stopRequested = false;
  bool m_endOfInput = false;
  int64_t m_length = 0;
  int m_error = 0;
  UninitializedBytes m_pending;  // bytes read and not yet returned as lines (a block is
                                 // read into its new room: nothing zeroes it first)
  size_t m_start = 0;            // first pending byte not yet returned
  size_t m_scanned = 0;          // pending bytes from m_start known to hold no line end
};

// SPDX-License-Identifier: MIT
// CLineFile: byte-level file with line reading (TXT input) and indented line writing (TMX output).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "engine/byte_sink.h"
#include "text/tuning.h"
#include "text/wide_string.h"

class ProgressReporter;

// Text already in the output's encoding, handed over piece by piece.
class EncodedPieces {
 public:
  virtual ~EncodedPieces() = default;
  // Writes the next piece, at most room bytes, at d; returns its bytes, 0 when all are written.
  virtual size_t WriteSome(char* d, size_t room) = 0;
};

// Bytes at hand, handed over as they are.
class EncodedBytes final : public EncodedPieces {
 public:
  explicit EncodedBytes(std::string_view bytes) : m_bytes(bytes) {}
  size_t WriteSome(char* d, size_t room) override;

 private:
  std::string_view m_bytes;
};

// How the bytes of an input file hold its text, as its first bytes tell.
enum class InputForm {
  kBytes,       // 8-bit text in the languages' code pages (no mark)
  kUtf8Marked,  // UTF-8 after EF BB BF
  kUtf16Le,     // UTF-16 little-endian after FF FE, or starting "<" NUL: read as UTF-8
  kUtf16Be,     // UTF-16 big-endian after FE FF, or starting NUL "<": read as UTF-8
};

// Text kinds of Open.
inline constexpr int kTextMarked = 1;  // write a byte-order mark
inline constexpr int kTextPlain = 4;   // no mark, none searched for

class CLineFile {
 public:
  static constexpr size_t kBlockSize = tuning::kReadBlockBytes;

  CLineFile() = default;
  ~CLineFile();
  CLineFile(const CLineFile&) = delete;
  CLineFile& operator=(const CLineFile&) = delete;

  // Mode with "r": open for reading; any other mode creates or truncates for writing
  // (with "b": UTF-16LE, otherwise UTF-8). Kind kTextMarked writes the byte-order mark.
  [[nodiscard]] bool Open(const std::string& path, const char* mode, int textKind);
  // Writing to a sink that someone else created (the exporter's temporary file, tests).
  [[nodiscard]] bool OpenSink(std::unique_ptr<ByteSink> sink, bool unicode, int textKind);

  // Asked after every block read: true ends the input (StopRequested then tells).
  void SetStopCheck(ProgressReporter* progress) { m_stopCheck = progress; }
  bool StopRequested() const { return m_stopRequested; }
  // How the input holds its text (known once the first line has been read). UTF-16 input is
  // handed out as UTF-8.
  InputForm Form() const { return m_form; }

  // The next line without its line end; false at the end of the input (or after a read error).
  bool ReadLine(std::string& line);
  // The same, as a view into the pending bytes that stays valid until the next call.
  bool ReadLineView(std::string_view& line);

  // Writes indent blanks, the text and CR LF. Characters that XML 1.0 forbids are left out.
  // False when no file is open or the write failed.
  bool WriteLine(int indent, std::u16string_view text);
  // The same for a line made of several pieces, written one after the other.
  bool WriteLine(int indent, std::initializer_list<std::u16string_view> pieces);
  // Adds text already in the output's encoding (holding nothing that XML forbids) to the
  // buffered lines as it comes, in pieces, so that a long text never has to fit the buffer.
  bool WritePieces(EncodedPieces& pieces);
  // Adds whole lines already encoded as the output (indent and line ends included) to the
  // buffered lines. False when the write failed.
  bool WriteEncodedLines(std::string_view lines);
  // Writes bytes already encoded as the output (lines converted elsewhere), after the buffered
  // lines. False when the write failed.
  bool WriteEncoded(std::string_view bytes);
  // Flushes buffered output; false on failure.
  [[nodiscard]] bool Flush();
  void Close();

  int64_t GetLength() const { return m_length; }
  bool IsOpen() const { return m_fd >= 0 || m_sink != nullptr; }
  // errno of the first read or write failure, 0 when none.
  int Error() const { return m_error; }
  bool ReadFailed() const { return m_readFailed; }
  bool WriteFailed() const { return m_writeFailed; }

 private:
  bool ReadBlock();
  // Reads up to size bytes; 0 at the end; -1 with m_error set.
  ssize_t ReadSome(char* data, size_t size);
  // The first block: recognises a byte-order mark (or UTF-16 without one).
  size_t ReadFirstBlock(char* data);
  // UTF-16 input: size more bytes read at data become UTF-8 in m_pending.
  void AppendTranscoded(const char* data, size_t size);
  bool WriteMark();
  // The parts of a line: indent blanks, text (false when a flush failed), CR LF and a flush of
  // the collected lines when they fill a block (false when it failed).
  void PutIndent(int indent);
  bool PutUnits(std::initializer_list<std::u16string_view> pieces);
  bool EndLine();
  char* Room(size_t bytes);  // room for bytes more after the m_used bytes of m_out
  bool SendOut();

  static constexpr size_t kSliceUnits = tuning::kLineSliceUnits;
  static constexpr size_t kKeptRoom =
      tuning::kKeptTextUnits;  // pending room kept after a long line
  static constexpr size_t kFlushBytes = tuning::kLineFlushBytes;

  int m_fd = -1;
  InputForm m_form = InputForm::kBytes;
  bool m_firstBlock = true;
  std::string m_carry;     // UTF-16 input: a byte or a high surrogate held for the next block
  std::u16string m_units;  // UTF-16 input: the block's characters
  ProgressReporter* m_stopCheck = nullptr;
  bool m_stopRequested = false;
  int64_t m_length = 0;
  bool m_unicode = false;
  bool m_endOfInput = false;
  bool m_readFailed = false;
  bool m_writeFailed = false;
  int m_error = 0;
  std::string m_pending;  // bytes read and not yet returned as lines
  size_t m_start = 0;     // first pending byte not yet returned
  size_t m_scanned = 0;   // pending bytes from m_start known to hold no line end
  std::unique_ptr<ByteSink> m_sink;
  std::string m_out;  // encoded output; its size is the capacity
  size_t m_used = 0;  // bytes of m_out in use
};

// ParseTagLine: splits a tag line into tag, L value and content. False when the line is no
// tag line (does not begin with "<" or holds no ">"); the outputs are emptied first.
bool ParseTagLine(std::string_view line, std::string_view& tag, std::string_view& lValue,
                  std::string_view& content, bool& closing);
// ExtractStyleCode: the "\csN" control word of a style sheet line (up to the next blank).
bool ExtractStyleCode(std::string_view line, WideString& code);

// SPDX-License-Identifier: MIT
#include "engine/line_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/file_system.h"
#include "engine/progress.h"
#include "text/byte_order_mark.h"
#include "text/code_page.h"
#include "text/simd.h"
#include "text/surrogates.h"
#include "text/tuning.h"
#include "text/xml_chars.h"

namespace {

// Index of the first CR or LF in data[from, size), or size. Sixteen bytes at a time.
size_t FindLineEnd(const char* data, size_t from, size_t size) {
  size_t i = from;
#if VELMAR_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (i + 16 <= size) {
    const __m128i v = simd::Load(data + i);
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
    if (mask != 0) return i + simd::LowestBit(static_cast<unsigned>(mask));
    i += 16;
  }
#endif
  while (i < size && data[i] != '\r' && data[i] != '\n') ++i;
  return i;
}

}  // namespace

CLineFile::~CLineFile() {
  Close();
}

bool CLineFile::Open(const std::string& path, const char* mode, int textKind) {
  Close();
  m_pending.clear();
  m_start = m_scanned = 0;
  m_endOfInput = m_readFailed = m_writeFailed = m_unicode = m_stopRequested = false;
  m_form = InputForm::kBytes;
  m_firstBlock = true;
  m_carry.clear();
  m_error = 0;
  m_length = 0;
  const bool reading = std::strchr(mode, 'r') != nullptr;
  FileSystem& fs = TheFileSystem();
  const int fd = reading ? fs.OpenForReading(path) : fs.CreateTruncated(path);
  if (fd < 0) {
    m_error = errno;
    return false;
  }
  FileFacts facts;
  if (fs.DescriptorFacts(fd, facts)) m_length = static_cast<int64_t>(facts.size);
  if (reading) {
    m_fd = fd;
    return true;
  }
  m_fd = fd;
  m_sink = std::make_unique<FdSink>(fd);
  m_unicode = std::strchr(mode, 'b') != nullptr;
  if (textKind == kTextMarked) (void)WriteMark();
  return true;
}

bool CLineFile::OpenSink(std::unique_ptr<ByteSink> sink, bool unicode, int textKind) {
  Close();
  if (!sink) return false;
  m_sink = std::move(sink);
  m_unicode = unicode;
  m_writeFailed = false;
  m_error = 0;
  if (textKind == kTextMarked) (void)WriteMark();
  return true;
}

bool CLineFile::WriteMark() {
  const auto mark = ByteOrderMark(m_unicode ? OutputEncoding::kUtf16le : OutputEncoding::kUtf8);
  if (m_sink->Write(mark.data(), mark.size())) return true;
  m_writeFailed = true;
  m_error = m_sink->Error();
  return false;
}

void CLineFile::Close() {
  if (m_sink) {
    if (m_used > 0 && !m_writeFailed) SendOut();
    if (!m_sink->Flush() && !m_writeFailed) {
      m_writeFailed = true;
      m_error = m_sink->Error();
    }
    m_sink.reset();
  }
  m_used = 0;
  if (m_fd >= 0) {
    TheFileSystem().Close(m_fd);
    m_fd = -1;
  }
}

bool CLineFile::ReadBlock() {
  if (m_fd < 0 || m_endOfInput) {
    m_endOfInput = true;
    return false;
  }
  if (m_stopCheck && m_stopCheck->ShouldStop()) {
    m_stopRequested = m_endOfInput = true;
    return false;
  }
  // Drop what was already returned before growing the pending bytes; the room that a huge line
  // took is given back once it has been read.
  if (m_start > 0) {
    m_pending.erase(0, m_start);
    m_start = 0;
    if (m_pending.capacity() > kKeptRoom && m_pending.size() < kBlockSize)
      m_pending.shrink_to_fit();
  }
  const size_t base = m_pending.size();
  m_pending.resize(base + kBlockSize);
  char* block = m_pending.data() + base;
  const ssize_t n =
      m_firstBlock ? static_cast<ssize_t>(ReadFirstBlock(block)) : ReadSome(block, kBlockSize);
  if (n <= 0) {
    m_pending.resize(base);
    m_endOfInput = true;
    // A high surrogate held back for a partner that never came still counts as a character.
    if (n == 0 && m_carry.size() >= 2) AppendTranscoded(nullptr, 0);
    return m_pending.size() > base;
  }
  size_t kept = static_cast<size_t>(n);
  if (m_form == InputForm::kUtf16Le || m_form == InputForm::kUtf16Be) {
    const std::string raw(block, kept);
    m_pending.resize(base);
    AppendTranscoded(raw.data(), raw.size());
    return true;
  }
  // NUL bytes are not text: they are left out, the rest of the block is kept.
  if (std::memchr(block, 0, kept)) {
    size_t w = 0;
    for (size_t r = 0; r < kept; ++r) {
      if (block[r] != 0) block[w++] = block[r];
    }
    kept = w;
  }
  m_pending.resize(base + kept);
  return true;
}

ssize_t CLineFile::ReadSome(char* data, size_t size) {
  ssize_t n;
  do {
    n = static_cast<ssize_t>(TheFileSystem().Read(m_fd, data, size));
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    m_readFailed = true;
    m_error = errno;
  }
  return n;
}

size_t CLineFile::ReadFirstBlock(char* data) {
  m_firstBlock = false;
  size_t got = 0;
  // A pipe may hand out fewer bytes than a mark has.
  while (got < 3) {
    const ssize_t n = ReadSome(data + got, kBlockSize - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  const auto* b = reinterpret_cast<const unsigned char*>(data);
  size_t skip = 0;
  if (got >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    m_form = InputForm::kUtf8Marked;
    skip = 3;
  } else if (got >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    m_form = InputForm::kUtf16Le;
    skip = 2;
  } else if (got >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
    m_form = InputForm::kUtf16Be;
    skip = 2;
  } else if (got >= 2 && b[0] == '<' && b[1] == 0) {
    m_form = InputForm::kUtf16Le;
  } else if (got >= 2 && b[0] == 0 && b[1] == '<') {
    m_form = InputForm::kUtf16Be;
  }
  std::memmove(data, data + skip, got - skip);
  return got - skip;
}

void CLineFile::AppendTranscoded(const char* data, size_t size) {
  if (size > 0) m_carry.append(data, size);
  const bool little = m_form == InputForm::kUtf16Le;
  const size_t whole = m_carry.size() / 2;
  m_units.clear();
  for (size_t i = 0; i < whole; ++i) {
    const auto lo = static_cast<unsigned char>(m_carry[2 * i + (little ? 0 : 1)]);
    const auto hi = static_cast<unsigned char>(m_carry[2 * i + (little ? 1 : 0)]);
    const auto unit = static_cast<char16_t>(lo | hi << 8);
    if (unit != 0) m_units.push_back(unit);  // NUL characters are left out, as NUL bytes are
  }
  m_carry.erase(0, 2 * whole);
  // A high surrogate at the end waits for its partner in the next block.
  if (!m_endOfInput && !m_units.empty() && utf16::IsHighSurrogate(m_units.back())) {
    const char16_t high = m_units.back();
    m_units.pop_back();
    const char bytes[2] = {static_cast<char>(little ? high & 0xFF : high >> 8),
                           static_cast<char>(little ? high >> 8 : high & 0xFF)};
    m_carry.insert(0, bytes, 2);
  }
  AppendUtf8(m_units, m_pending);
}

bool CLineFile::ReadLineView(std::string_view& line) {
  if (m_readFailed) {
    line = {};
    return false;
  }
  for (;;) {
    const char* data = m_pending.data();
    const size_t size = m_pending.size();
    size_t i = FindLineEnd(data, m_start + m_scanned, size);
    if (i == size) {
      m_scanned = size - m_start;
      if (m_endOfInput || !ReadBlock()) {
        if (m_readFailed) {
          line = {};
          return false;
        }
        if (m_pending.size() == m_start) {
          line = {};
          return false;
        }
        line = std::string_view(m_pending).substr(m_start);
        m_start = m_pending.size();
        m_scanned = 0;
        return true;
      }
      continue;
    }
    // A line end; the next character may belong to it.
    if (i + 1 == m_pending.size() && !m_endOfInput) {
      const size_t offset = i - m_start;
      ReadBlock();  // moves the pending bytes so that the line starts at 0
      if (m_readFailed) {
        line = {};
        return false;
      }
      i = m_start + offset;
    }
    size_t end = i + 1;
    if (end < m_pending.size() && (m_pending[end] == '\r' || m_pending[end] == '\n')) ++end;
    line = std::string_view(m_pending).substr(m_start, i - m_start);
    m_start = end;
    m_scanned = 0;
    return true;
  }
}

bool CLineFile::ReadLine(std::string& line) {
  std::string_view view;
  const bool ok = ReadLineView(view);
  line.assign(view.data(), view.size());
  return ok;
}

bool CLineFile::WriteLine(int indent, std::u16string_view text) {
  return WriteLine(indent, {text});
}

bool CLineFile::WriteLine(int indent, std::initializer_list<std::u16string_view> pieces) {
  if (!m_sink || m_writeFailed) return false;
  PutIndent(indent);
  return PutUnits(pieces) && EndLine();
}

size_t EncodedBytes::WriteSome(char* d, size_t room) {
  const size_t n = std::min(room, m_bytes.size());
  std::memcpy(d, m_bytes.data(), n);
  m_bytes.remove_prefix(n);
  return n;
}

bool CLineFile::WritePieces(EncodedPieces& pieces) {
  if (!m_sink || m_writeFailed) return false;
  constexpr size_t kPieceBytes = tuning::kPieceBytes;
  for (;;) {
    const size_t written = pieces.WriteSome(Room(kPieceBytes), kPieceBytes);
    if (written == 0) return true;
    m_used += written;
    if (m_used >= kFlushBytes && !SendOut()) return false;
  }
}

bool CLineFile::WriteEncodedLines(std::string_view lines) {
  if (!m_sink || m_writeFailed) return false;
  if (lines.empty()) return true;
  std::memcpy(Room(lines.size()), lines.data(), lines.size());
  m_used += lines.size();
  return m_used < kFlushBytes || SendOut();
}

void CLineFile::PutIndent(int indent) {
  static constexpr char kBlanks[] = "                ";
  static constexpr char kWideBlanks[] = " \0 \0 \0 \0 \0 \0 \0 \0 \0 \0 \0 \0 \0 \0 \0 \0";
  const size_t unit = m_unicode ? 2 : 1;
  size_t bytes = static_cast<size_t>(indent > 0 ? indent : 0) * unit;
  char* d = Room(bytes);
  m_used += bytes;
  const char* blanks = m_unicode ? kWideBlanks : kBlanks;
  for (; bytes > 0; bytes -= std::min(bytes, size_t{16}), d += 16) {
    std::memcpy(d, blanks, std::min(bytes, size_t{16}));
  }
}

bool CLineFile::PutUnits(std::initializer_list<std::u16string_view> pieces) {
  size_t units = 0;
  for (std::u16string_view piece : pieces) units += piece.size();
  const size_t perUnit = m_unicode ? 2 : 3;
  if (units <= kSliceUnits) {
    char* room = Room(perUnit * units);
    for (std::u16string_view piece : pieces) {
      room += EncodeXmlSafe(piece, m_unicode, room);
    }
    m_used = static_cast<size_t>(room - m_out.data());
    return true;
  }
  // Long texts go out in slices, so that the buffer stays small; a slice never ends between
  // the two halves of a surrogate pair.
  for (std::u16string_view piece : pieces) {
    while (!piece.empty()) {
      size_t take = std::min(piece.size(), kSliceUnits);
      if (take < piece.size() && utf16::IsHighSurrogate(piece[take - 1])) --take;
      const std::u16string_view slice = piece.substr(0, take);
      char* room = Room(perUnit * slice.size());
      m_used += EncodeXmlSafe(slice, m_unicode, room);
      piece.remove_prefix(take);
      if (m_used >= kFlushBytes && !SendOut()) return false;
    }
  }
  return true;
}

bool CLineFile::EndLine() {
  const size_t unit = m_unicode ? 2 : 1;
  char* d = Room(2 * unit);
  if (m_unicode) {
    std::memcpy(d, "\r\0\n\0", 4);
  } else {
    std::memcpy(d, "\r\n", 2);
  }
  m_used += 2 * unit;
  // Lines are collected and handed to the sink in blocks.
  return m_used < kFlushBytes || SendOut();
}

char* CLineFile::Room(size_t bytes) {
  if (m_used + bytes > m_out.size()) m_out.resize(std::max(m_used + bytes, 2 * m_out.size()));
  return m_out.data() + m_used;
}

bool CLineFile::SendOut() {
  const bool ok = m_sink->Write(m_out.data(), m_used);
  m_used = 0;
  if (!ok) {
    m_writeFailed = true;
    m_error = m_sink->Error();
  }
  return ok;
}

bool CLineFile::WriteEncoded(std::string_view bytes) {
  if (!m_sink || m_writeFailed) return false;
  if (m_used > 0 && !SendOut()) return false;
  if (m_sink->Write(bytes.data(), bytes.size())) return true;
  m_writeFailed = true;
  m_error = m_sink->Error();
  return false;
}

bool CLineFile::Flush() {
  if (!m_sink) return false;
  if (m_writeFailed) return false;
  if (m_used > 0 && !SendOut()) return false;
  if (!m_sink->Flush()) {
    m_writeFailed = true;
    m_error = m_sink->Error();
    return false;
  }
  return true;
}

bool ParseTagLine(std::string_view line, std::string_view& tag, std::string_view& lValue,
                  std::string_view& content, bool& closing) {
  tag = lValue = content = {};
  closing = false;
  if (line.empty() || line[0] != '<') return false;
  const size_t gt = line.find('>');
  if (gt == std::string_view::npos) return false;
  const std::string_view inner = line.substr(1, gt - 1);
  if (!inner.empty() && inner[0] == '/') {
    closing = true;
    tag = inner.substr(1, 3);
    return true;
  }
  tag = inner.substr(0, 3);
  content = line.substr(gt + 1);
  const size_t l = inner.find("L=");
  if (l != std::string_view::npos) lValue = inner.substr(l + 2);
  return true;
}

bool ExtractStyleCode(std::string_view line, WideString& code) {
  code.Empty();
  const size_t cs = line.find("\\cs");
  if (cs == std::string_view::npos) return false;
  const size_t blank = line.find(' ', cs);
  if (blank == std::string_view::npos) return false;
  code = WideString(Decode(1252, line.substr(cs, blank - cs)));
  return true;
}

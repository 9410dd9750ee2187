// SPDX-License-Identifier: MIT
#include "engine/line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/file_system.h"
#include "engine/progress.h"
#include "text/code_page.h"
#include "text/simd.h"
#include "text/surrogates.h"
#include "text/tuning.h"

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

LineReader::~LineReader() {
  Close();
}

bool LineReader::Open(const std::string& path) {
  Close();
  m_pending.clear();
  m_start = m_scanned = 0;
  m_endOfInput = m_stopRequested = false;
  m_form = InputForm::kBytes;
  m_firstBlock = true;
  m_carry.clear();
  m_error = 0;
  m_length = 0;
  FileSystem& fs = TheFileSystem();
  const int fd = fs.OpenForReading(path);
  if (fd < 0) {
    m_error = errno;
    return false;
  }
  FileFacts facts;
  if (fs.DescriptorFacts(fd, facts)) m_length = static_cast<int64_t>(facts.size);
  m_fd = fd;
  return true;
}

void LineReader::Close() {
  if (m_fd >= 0) {
    TheFileSystem().Close(m_fd);
    m_fd = -1;
  }
}

bool LineReader::ReadBlock() {
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
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(m_start));
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

ssize_t LineReader::ReadSome(char* data, size_t size) {
  ssize_t n;
  do {
    n = static_cast<ssize_t>(TheFileSystem().Read(m_fd, data, size));
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    m_error = errno;
  }
  return n;
}

size_t LineReader::ReadFirstBlock(char* data) {
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

void LineReader::AppendTranscoded(const char* data, size_t size) {
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
  m_utf8.clear();
  AppendUtf8(m_units, m_utf8);
  m_pending.insert(m_pending.end(), m_utf8.begin(), m_utf8.end());
}

bool LineReader::ReadLineView(std::string_view& line) {
  line = {};
  if (m_error != 0) return false;
  for (;;) {
    const char* data = m_pending.data();
    const size_t size = m_pending.size();
    size_t i = FindLineEnd(data, m_start + m_scanned, size);
    if (i == size) {
      m_scanned = size - m_start;
      if (m_endOfInput || !ReadBlock()) return LastLine(line);
      continue;
    }
    // A line end; the next character may belong to it.
    if (i + 1 == m_pending.size() && !m_endOfInput) {
      const size_t offset = i - m_start;
      ReadBlock();  // moves the pending bytes so that the line starts at 0
      if (m_error != 0) return false;
      i = m_start + offset;
    }
    size_t end = i + 1;
    if (end < m_pending.size() && (m_pending[end] == '\r' || m_pending[end] == '\n')) ++end;
    line = std::string_view(m_pending.data() + m_start, i - m_start);
    m_start = end;
    m_scanned = 0;
    return true;
  }
}

bool LineReader::LastLine(std::string_view& line) {
  if (m_error != 0 || m_pending.size() == m_start) return false;
  line = std::string_view(m_pending.data() + m_start, m_pending.size() - m_start);
  m_start = m_pending.size();
  m_scanned = 0;
  return true;
}

bool LineReader::ReadLine(std::string& line) {
  std::string_view view;
  const bool ok = ReadLineView(view);
  line.assign(view.data(), view.size());
  return ok;
}

// SPDX-License-Identifier: MIT
#include "engine/output_buffer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

size_t EncodedBytes::WriteSome(char* d, size_t room) {
  const size_t n = std::min(room, m_bytes.size());
  std::memcpy(d, m_bytes.data(), n);
  m_bytes.remove_prefix(n);
  return n;
}

OutputBuffer::~OutputBuffer() {
  Close();
}

void OutputBuffer::Open(std::unique_ptr<ByteSink> sink) {
  Close();
  m_sink = std::move(sink);
  m_error = 0;
}

void OutputBuffer::Close() {
  if (m_sink) {
    if (m_used > 0 && m_error == 0) SendOut();
    if (!m_sink->Flush() && m_error == 0) Fail();
    m_sink.reset();
  }
  m_used = 0;
}

bool OutputBuffer::Append(std::string_view bytes) {
  if (!m_sink || m_error != 0) return false;
  if (bytes.empty()) return true;
  std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
  m_used += bytes.size();
  // Lines are collected and handed to the sink in blocks.
  return m_used < kFlushBytes || SendOut();
}

bool OutputBuffer::AppendPieces(EncodedPieces& pieces) {
  if (!m_sink || m_error != 0) return false;
  constexpr size_t kPieceBytes = tuning::kPieceBytes;
  for (;;) {
    const size_t written = pieces.WriteSome(Room(kPieceBytes), kPieceBytes);
    if (written == 0) return true;
    m_used += written;
    if (m_used >= kFlushBytes && !SendOut()) return false;
  }
}

bool OutputBuffer::WriteThrough(std::string_view bytes) {
  if (!m_sink || m_error != 0) return false;
  if (m_used > 0 && !SendOut()) return false;
  return m_sink->Write(bytes.data(), bytes.size()) || Fail();
}

bool OutputBuffer::Flush() {
  if (!m_sink || m_error != 0) return false;
  if (m_used > 0 && !SendOut()) return false;
  return m_sink->Flush() || Fail();
}

char* OutputBuffer::Room(size_t bytes) {
  if (m_used + bytes > m_out.size()) m_out.resize(std::max(m_used + bytes, 2 * m_out.size()));
  return m_out.data() + m_used;
}

bool OutputBuffer::SendOut() {
  const bool ok = m_sink->Write(m_out.data(), m_used);
  m_used = 0;
  return ok || Fail();
}

bool OutputBuffer::Fail() {
  m_error = m_sink->Error() != 0 ? m_sink->Error() : EIO;
  return false;
}

// SPDX-License-Identifier: MIT
// OutputBuffer: bytes already in the document's encoding, collected and handed to a sink in
// blocks; the TMX writer's one way out.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "engine/byte_sink.h"
#include "text/tuning.h"

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

class OutputBuffer {
 public:
  OutputBuffer() = default;
  ~OutputBuffer();
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // Writes to sink from now on (what was collected for an earlier sink is handed to it first).
  void Open(std::unique_ptr<ByteSink> sink);
  // Adds bytes to the collected ones. False when no sink is open or a write failed.
  bool Append(std::string_view bytes);
  // Adds bytes as they come, in pieces, so that a long text never has to fit the buffer.
  bool AppendPieces(EncodedPieces& pieces);
  // Writes bytes (converted elsewhere) after the collected ones, past the buffer.
  bool WriteThrough(std::string_view bytes);
  // Hands everything collected to the sink and flushes it; false on failure.
  [[nodiscard]] bool Flush();
  // Flushes and lets go of the sink.
  void Close();

  // errno of the first write failure, 0 when none; nothing more is written after one.
  int Error() const { return m_error; }
  bool Failed() const { return m_error != 0; }

 private:
  char* Room(size_t bytes);  // room for bytes more after the m_used bytes of m_out
  bool SendOut();
  // Notes the sink's failure (at least EIO, so that it is never taken for success).
  bool Fail();

  static constexpr size_t kFlushBytes = tuning::kOutputFlushBytes;

  std::unique_ptr<ByteSink> m_sink;
  std::string m_out;  // encoded output; its size is the capacity
  size_t m_used = 0;  // bytes of m_out in use
  int m_error = 0;
};

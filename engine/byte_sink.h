// SPDX-License-Identifier: MIT
// The one seam through which the TMX bytes leave the engine.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes the bytes; false when they could not be written.
  [[nodiscard]] virtual bool Write(const char* data, size_t size) = 0;
  // Hands everything buffered to the file; false on failure.
  [[nodiscard]] virtual bool Flush() = 0;
  // errno of the first failure, 0 when none.
  virtual int Error() const = 0;
};

// Buffered writer to an open POSIX file descriptor (not closed by the sink).
class FdSink : public ByteSink {
 public:
  explicit FdSink(int fd);
  ~FdSink() override;
  bool Write(const char* data, size_t size) override;
  bool Flush() override;
  int Error() const override { return m_error; }

 private:
  bool WriteAll(const char* data, size_t size);

  int m_fd;
  int m_error = 0;
  std::string m_buffer;
};

// Collects the bytes in a string (a batch of units converted apart from the file).
class StringSink : public ByteSink {
 public:
  explicit StringSink(std::string& bytes) : m_bytes(bytes) {}
  bool Write(const char* data, size_t size) override {
    m_bytes.append(data, size);
    return true;
  }
  bool Flush() override { return true; }
  int Error() const override { return 0; }

 private:
  std::string& m_bytes;
};

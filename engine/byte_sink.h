// SPDX-License-Identifier: MIT
// The one seam through which the TMX bytes leave the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class FileSystem;

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

// Buffered writer to an open file descriptor (not closed by the sink).
// With startWriteback (a file that is synced when complete), the system is asked to start
// writing each few megabytes to the disk at once, so that the final sync has little left to wait
// for.
class FdSink : public ByteSink {
 public:
  explicit FdSink(int fd, bool startWriteback = false);
  ~FdSink() override;
  bool Write(const char* data, size_t size) override;
  bool Flush() override;
  int Error() const override { return m_error; }

 private:
  bool WriteAll(const char* data, size_t size);
  void StartWriteback(size_t size);

  FileSystem& m_fs;
  int m_fd;
  bool m_startWriteback;
  int64_t m_written = 0;  // bytes written before m_unsynced
  int64_t m_unsynced = 0;
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

// SPDX-License-Identifier: MIT
// The --report file: prepared before anything is converted, written whole or not at all, by the
// writer of the TMX files and under the same rules (a device or FIFO written into, links
// followed, mode and owner kept, synced to the disk).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "engine/engine_error.h"
#include "engine/output_file.h"

class ReportFile {
 public:
  // Prepares path for the report. The error, with the system's reason, when that fails.
  [[nodiscard]] EngineError Open(const std::string& path);
  // Writes text as the whole report and puts it in place. When that fails, whatever was at the
  // path stays as it was.
  [[nodiscard]] EngineError Write(const std::string& text);
  // The same for a report made piece by piece: produce writes it to the descriptor it is given
  // and returns false (errno set) when a write failed.
  [[nodiscard]] EngineError WriteWith(const std::function<bool(int fd)>& produce);

 private:
  OutputFile m_file;
  std::string m_path;
};

// Writes size bytes at data to fd, whatever the writes take at a time; false with errno set.
bool WriteAll(int fd, const char* data, size_t size);

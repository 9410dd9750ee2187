// SPDX-License-Identifier: MIT
// The --report file: prepared before anything is converted, written whole or not at all, by the
// writer of the TMX files and under the same rules (a device or FIFO written into, links
// followed, mode and owner kept, synced to the disk).
#pragma once

#include <string>

#include "engine/output_file.h"

class ReportFile {
 public:
  // Prepares path for the report. False with the system's reason in error.
  bool Open(const std::string& path, std::string& error);
  // Writes text as the whole report and puts it in place. False with the reason in error:
  // whatever was at the path then stays as it was.
  bool Write(const std::string& text, std::string& error);

 private:
  OutputFile m_file;
};

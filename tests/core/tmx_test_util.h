// SPDX-License-Identifier: MIT
// Helpers shared by the tests: temporary folders, files, the command line, TMX validation.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/tmx_exporter.h"

namespace testutil {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }
  // Names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string m_path;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// The lines of a UTF-8 TMX file: BOM checked and dropped, split at CR LF (every line must end so).
std::vector<std::string> TmxLines(const std::string& path);

// xmllint: well-formed and valid against the TMX 1.4 DTD; fails when xmllint or the DTD is missing.
::testing::AssertionResult IsValidTmx(const std::string& path);
#define EXPECT_VALID_TMX(path) EXPECT_TRUE(::testutil::IsValidTmx(path))

// One pair conversion through the request interface. progress is the first of the two reporters
// that is not null.
ExportResult ExportPair(CTmxExporter& exporter, const std::string& txtPath,
                        const std::string& tmxPath, const std::string& source, int sourceCodePage,
                        const std::string& target, int targetCodePage, ProgressReporter* progress,
                        ProgressReporter* status, int utf16Output);

// Runs the command-line front end in this process; out and err receive what it printed.
int RunCli(const std::vector<std::string>& args, std::string& out, std::string& err);

// Runs the built velmar2tmx-cli executable through the shell (stdin from /dev/null).
int RunCliProcess(const std::string& arguments, std::string& out, std::string& err);

}  // namespace testutil

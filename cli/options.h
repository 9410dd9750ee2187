// SPDX-License-Identifier: MIT
// The command line's options.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct CliOptions {
  std::vector<std::string> txtPaths;   // every TXT file given, in order
  std::string txtPath;                 // the file being worked on; "-": standard input
  std::optional<std::string> tmxPath;  // "-": standard output; none: derived from the TXT path
  std::optional<std::string> source;   // as given; none: default from the analysis
  std::optional<std::string> target;
  std::optional<int> sourceCodePage;
  std::optional<int> targetCodePage;
  // --codepage CODE=N, in order: the code as given and the code page.
  std::vector<std::pair<std::string, int>> codePages;
  std::optional<std::string> outputDir;   // -O: the folder the TMX files go into
  std::optional<std::string> reportPath;  // --report: the JSON account of the run
  bool allLanguages = false;              // -A: every language of each file in one TMX
  bool analyse = false;
  bool listLanguages = false;
  bool utf16 = false;
  int threads = 0;         // 0: one per core
  bool quiet = false;      // errors only: no progress, no success message
  bool noClobber = false;  // refuse to replace an existing TMX file
  bool help = false;
  bool version = false;

  bool ReadsStandardInput() const { return txtPath == "-"; }
  // The TXT path the engine opens: standard input is read through /dev/stdin.
  std::string TxtFile() const { return ReadsStandardInput() ? "/dev/stdin" : txtPath; }
  bool WritesStandardOutput() const { return tmxPath == "-"; }
  bool Batch() const { return txtPaths.size() > 1; }
};

// Parses argv. False with a message in error on a usage error; user text in the message is
// quoted and escaped for the terminal.
bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error);

// The usage text of --help.
std::string CliUsage();

// SPDX-License-Identifier: MIT
// The command line's options.
#pragma once

#include <optional>
#include <string>

struct CliOptions {
  std::string txtPath;                 // "-": standard input
  std::optional<std::string> tmxPath;  // "-": standard output; none: derived from the TXT path
  std::optional<std::string> source;   // as given; none: default from the analysis
  std::optional<std::string> target;
  std::optional<int> sourceCodePage;
  std::optional<int> targetCodePage;
  bool analyse = false;
  bool listLanguages = false;
  bool utf16 = false;
  bool quiet = false;      // errors only: no progress, no success message
  bool noClobber = false;  // refuse to replace an existing TMX file
  bool help = false;
  bool version = false;

  bool ReadsStandardInput() const { return txtPath == "-"; }
  // The TXT path the engine opens: standard input is read through /dev/stdin.
  std::string TxtFile() const { return ReadsStandardInput() ? "/dev/stdin" : txtPath; }
  bool WritesStandardOutput() const { return tmxPath == "-"; }
};

// Parses argv. False with a message in error on a usage error; user text in the message is
// quoted and escaped for the terminal.
bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error);

// The usage text of --help.
std::string CliUsage();

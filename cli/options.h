// SPDX-License-Identifier: MIT
// The command line's options.
#pragma once

#include <optional>
#include <string>

struct CliOptions {
  std::string txtPath;
  std::string tmxPath;  // empty: derived from the TXT path
  std::optional<std::string> source;  // as given; none: default from the analysis
  std::optional<std::string> target;
  std::optional<int> sourceCodePage;
  std::optional<int> targetCodePage;
  bool analyse = false;
  bool listLanguages = false;
  bool utf16 = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// Parses argv. False with a message in error on a usage error.
bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error);

// The usage text of --help.
std::string CliUsage();


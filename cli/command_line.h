// SPDX-License-Identifier: MIT
// velmar2tmx-cli: the command-line front end over the conversion engine.
#pragma once

#include <cstdio>
#include <string>

// Exit statuses.
inline constexpr int kExitConverted = 0;      // at least one unit written, or the analysis ran
inline constexpr int kExitNothing = 1;        // no unit written, or no language in the file
inline constexpr int kExitUsage = 2;          // bad options, unknown language, missing default
inline constexpr int kExitFile = 3;           // a file cannot be opened, created, read or written,
                                              // or exists and -n forbids replacing it
inline constexpr int kExitInterrupted = 130;  // stopped by SIGINT, SIGTERM or SIGHUP

int RunCommandLine(int argc, char** argv, FILE* out, FILE* err);

// Prints a usage error with the hint to --help; gives kExitUsage.
int PrintUsageError(const std::string& message, FILE* err);

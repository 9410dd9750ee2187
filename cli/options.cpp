// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <getopt.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "cli/quoting.h"

namespace {

enum LongOnly {
  kSourceCodePage = 1000,
  kTargetCodePage,
  kUtf16,
  kVersion,
  kListLanguages,
  kCodePage,
  kReport,
  kThreads
};

const option kLongOptions[] = {
    {"output", required_argument, nullptr, 'o'},
    {"output-dir", required_argument, nullptr, 'O'},
    {"all-languages", no_argument, nullptr, 'A'},
    {"codepage", required_argument, nullptr, kCodePage},
    {"report", required_argument, nullptr, kReport},
    {"threads", required_argument, nullptr, kThreads},
    {"source", required_argument, nullptr, 's'},
    {"target", required_argument, nullptr, 't'},
    {"source-codepage", required_argument, nullptr, kSourceCodePage},
    {"target-codepage", required_argument, nullptr, kTargetCodePage},
    {"analyse", no_argument, nullptr, 'a'},
    {"analyze", no_argument, nullptr, 'a'},
    {"list-languages", no_argument, nullptr, kListLanguages},
    {"utf16", no_argument, nullptr, kUtf16},
    {"no-clobber", no_argument, nullptr, 'n'},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

bool ParseCodePage(const char* text, int& value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || v < 0 || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

// The option getopt stopped at, as the user wrote it: "--source" for a long option (without
// "=value"), "-s" for a short one, also inside a group such as "-qs".
std::string OptionName(const char* word, int shortOption) {
  if (word && std::strncmp(word, "--", 2) == 0) {
    const char* equals = std::strchr(word, '=');
    return equals ? std::string(word, static_cast<size_t>(equals - word)) : std::string(word);
  }
  return std::string("-") + static_cast<char>(shortOption);
}

// True when a long option word ("--so") abbreviates options that do different things.
bool Ambiguous(const std::string& name) {
  int first = 0;
  for (const option* o = kLongOptions; o->name; ++o) {
    if (std::strncmp(o->name, name.c_str() + 2, name.size() - 2) != 0) continue;
    if (std::strlen(o->name) == name.size() - 2) return false;  // an exact name
    if (first != 0 && first != o->val) return true;
    first = o->val;
  }
  return false;
}

// getopt's ':' (missing argument) and '?' (unknown or ambiguous option, or an argument given to
// a long option that takes none) as a message.
std::string OptionError(int c, const char* word) {
  if (c == ':') return "option " + QuoteName(OptionName(word, optopt)) + " needs an argument";
  const bool longWord = word && std::strncmp(word, "--", 2) == 0;
  if (longWord && optopt != 0) {
    return "option " + QuoteName(OptionName(word, optopt)) + " takes no argument";
  }
  if (longWord && Ambiguous(OptionName(word, 0))) {
    return "option " + QuoteName(OptionName(word, 0)) + " is ambiguous";
  }
  if (longWord || optopt <= 0 || optopt >= 128)
    return "unknown option " + QuoteName(word ? word : "");
  return "unknown option " + QuoteName(std::string("-") + static_cast<char>(optopt));
}

// "--codepage CODE=N": the code (checked when the languages are resolved) and the number.
bool ParseLanguageCodePage(const char* argument, CliOptions& options, std::string& error) {
  const char* equals = std::strrchr(argument, '=');
  int value = 0;
  if (!equals || equals == argument || !ParseCodePage(equals + 1, value)) {
    error = "--codepage: expected CODE=N (a language code and a code page number), not " +
            QuoteName(argument);
    return false;
  }
  options.codePages.emplace_back(std::string(argument, static_cast<size_t>(equals - argument)),
                                 value);
  return true;
}

// A file or folder name that must not be empty.
bool ApplyName(const char* option, const char* argument, std::optional<std::string>& name,
               std::string& error) {
  if (!*argument) {
    error = std::string("option '") + option + "' needs a file name (an empty one was given)";
    return false;
  }
  name = argument;
  return true;
}

// Applies one option that takes an argument; false with error set when the argument is bad.
bool ApplyArgument(int c, const char* argument, CliOptions& options, std::string& error) {
  switch (c) {
    case 'o':
      return ApplyName("--output", argument, options.tmxPath, error);
    case 'O':
      return ApplyName("--output-dir", argument, options.outputDir, error);
    case kReport:
      return ApplyName("--report", argument, options.reportPath, error);
    case kCodePage:
      return ParseLanguageCodePage(argument, options, error);
    case kThreads:
      if (!ParseCodePage(argument, options.threads) || options.threads < 1 ||
          options.threads > 256) {
        error = "--threads: invalid number of threads " + QuoteName(argument) + " (1 to 256)";
        return false;
      }
      return true;
    case 's':
      options.source = argument;
      return true;
    case 't':
      options.target = argument;
      return true;
    default: {
      const bool source = c == kSourceCodePage;
      int value = 0;
      if (!ParseCodePage(argument, value)) {
        error = std::string(source ? "--source-codepage" : "--target-codepage") +
                ": invalid code page " + QuoteName(argument);
        return false;
      }
      (source ? options.sourceCodePage : options.targetCodePage) = value;
      return true;
    }
  }
}

// Applies one option without an argument; false when c is no such option.
bool ApplyFlag(int c, CliOptions& options) {
  switch (c) {
    case 'a':
      options.analyse = true;
      return true;
    case 'n':
      options.noClobber = true;
      return true;
    case 'A':
      options.allLanguages = true;
      return true;
    case 'q':
      options.quiet = true;
      return true;
    case 'h':
      options.help = true;
      return true;
    case kVersion:
      options.version = true;
      return true;
    case kUtf16:
      options.utf16 = true;
      return true;
    case kListLanguages:
      options.listLanguages = true;
      return true;
    default:
      return false;
  }
}

// Options that do not go together, and what several TXT files rule out; empty when all is well.
std::string CombinationError(const CliOptions& o) {
  if (o.allLanguages && o.target) {
    return "--all-languages writes every language of the file: -t cannot be given with it";
  }
  if (o.allLanguages && o.targetCodePage) {
    return "--target-codepage cannot be given with --all-languages; use --codepage CODE=N";
  }
  if (o.tmxPath && o.outputDir) return "-o and --output-dir cannot be given together";
  if (o.reportPath == "-") return "--report needs a file name ('-' is not supported)";
  if (!o.Batch()) return std::string();
  if (o.tmxPath) return "-o names one TMX file: with several TXT files use --output-dir DIR";
  if (o.analyse) return "--analyse takes one TXT file";
  for (const std::string& path : o.txtPaths) {
    if (path == "-") return "standard input ('-') cannot be one of several TXT files";
  }
  return std::string();
}

}  // namespace

bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error) {
  optind = 0;  // restart scanning (tests call this more than once)
  opterr = 0;
  for (;;) {
    // The leading ':' makes getopt tell a missing argument (':') from an unknown option ('?').
    const int c = getopt_long(argc, argv, ":o:O:s:t:aAnqh", kLongOptions, nullptr);
    if (c == -1) break;
    if (c == ':' || c == '?') {
      error = OptionError(c, optind > 0 && optind <= argc ? argv[optind - 1] : nullptr);
      return false;
    }
    if (ApplyFlag(c, options)) continue;
    if (!ApplyArgument(c, optarg, options, error)) return false;
  }
  if (options.help || options.version || options.listLanguages) return true;
  if (optind >= argc) {
    error = "no TXT file given";
    return false;
  }
  options.txtPaths.assign(argv + optind, argv + argc);
  options.txtPath = options.txtPaths.front();
  error = CombinationError(options);
  return error.empty();
}

std::string CliUsage() {
  return "Usage: velmar2tmx-cli [OPTIONS] TXT-FILE...\n"
         "Converts Velmar Vovuzaduz TXT translation memories into TMX 1.4 files.\n"
         "TXT-FILE '-' reads standard input (with -o; with -s and -t too when it is a pipe).\n"
         "\n"
         "  -o, --output PATH        TMX file (default: the TXT path with extension .tmx);\n"
         "                           -o - writes the TMX to standard output (one TXT file)\n"
         "  -O, --output-dir DIR     write the TMX files into DIR instead of beside the TXT\n"
         "  -s, --source CODE        source language, any code form, any letter case\n"
         "                           (default: first language found)\n"
         "  -t, --target CODE        target language (default: next language found)\n"
         "      --source-codepage N  code page of the source segments\n"
         "      --target-codepage N  code page of the target segments and field values\n"
         "  -A, --all-languages      every language of the file in one TMX (no -t): the\n"
         "                           source first, then the unit's other languages\n"
         "      --codepage CODE=N    code page N for the segments of language CODE\n"
         "                           (repeatable)\n"
         "      --report FILE        write a JSON account of the run (every unit not\n"
         "                           written, every change) to FILE\n"
         "  -n, --no-clobber         do not replace an existing TMX file (exit status 3)\n"
         "  -a, --analyse            list the languages of the file: code, code page, name\n"
         "      --list-languages     list the languages that -s and -t accept\n"
         "      --utf16              write UTF-16LE instead of UTF-8\n"
         "      --threads N          convert on N threads (default: one per core; 1: no\n"
         "                           threads besides the main one)\n"
         "  -q, --quiet              print errors only: no progress, no success message,\n"
         "                           no summary\n"
         "  -h, --help               show this help\n"
         "      --version            show the version\n"
         "\n"
         "An existing TMX file is replaced only when the conversion writes at least one unit.\n"
         "\n"
         "Exit status:\n"
         "  0    units written (or the analysis listed languages)\n"
         "  1    no unit written, or no language found in the file\n"
         "  2    usage error (bad option, unknown language, missing default language)\n"
         "  3    a file cannot be opened, read, created or written, or exists with -n\n"
         "  130  interrupted (SIGINT, SIGTERM or SIGHUP); the TMX file in work is not\n"
         "       written (finished ones stay, later ones are not started)\n"
         "With several TXT files the status is the worst of the files (130, 3, 2, 1, 0);\n"
         "stdout gets a TAB-separated line per file (TXT, TMX, written, skipped) and a total.\n";
}

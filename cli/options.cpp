// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <getopt.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "cli/quoting.h"

namespace {

enum LongOnly { kSourceCodePage = 1000, kTargetCodePage, kUtf16, kVersion, kListLanguages };

const option kLongOptions[] = {
    {"output", required_argument, nullptr, 'o'},
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

// Applies one option that takes an argument; false with error set when the argument is bad.
bool ApplyArgument(int c, const char* argument, CliOptions& options, std::string& error) {
  switch (c) {
    case 'o':
      if (!*argument) {
        error = "option '--output' needs a file name (an empty one was given)";
        return false;
      }
      options.tmxPath = argument;
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

}  // namespace

bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error) {
  optind = 0;  // restart scanning (tests call this more than once)
  opterr = 0;
  for (;;) {
    // The leading ':' makes getopt tell a missing argument (':') from an unknown option ('?').
    const int c = getopt_long(argc, argv, ":o:s:t:anqh", kLongOptions, nullptr);
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
  if (argc - optind > 1) {
    error = "unexpected argument " + QuoteName(argv[optind + 1]);
    return false;
  }
  options.txtPath = argv[optind];
  return true;
}

std::string CliUsage() {
  return "Usage: velmar2tmx-cli [OPTIONS] TXT-FILE\n"
         "Converts a Velmar Vovuzaduz TXT translation memory into a TMX 1.4 file.\n"
         "TXT-FILE '-' reads standard input (with -o; with -s and -t too when it is a pipe).\n"
         "\n"
         "  -o, --output PATH        TMX file (default: the TXT path with extension .tmx);\n"
         "                           -o - writes the TMX to standard output\n"
         "  -s, --source CODE        source language, any code form, any letter case\n"
         "                           (default: first language found)\n"
         "  -t, --target CODE        target language (default: next language found)\n"
         "      --source-codepage N  code page of the source segments\n"
         "      --target-codepage N  code page of the target segments and field values\n"
         "  -n, --no-clobber         do not replace an existing TMX file (exit status 3)\n"
         "  -a, --analyse            list the languages of the file: code, code page, name\n"
         "      --list-languages     list the languages that -s and -t accept\n"
         "      --utf16              write UTF-16LE instead of UTF-8\n"
         "  -q, --quiet              print errors only: no progress, no success message\n"
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
         "  130  interrupted (SIGINT, SIGTERM or SIGHUP); no TMX file written\n";
}

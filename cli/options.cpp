// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <getopt.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

enum LongOnly { kSourceCodePage = 1000, kTargetCodePage, kUtf16, kVersion, kListLanguages };

bool ParseCodePage(const char* text, int& value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || v < 0 || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error) {
  static const option kLong[] = {
      {"output", required_argument, nullptr, 'o'},
      {"source", required_argument, nullptr, 's'},
      {"target", required_argument, nullptr, 't'},
      {"source-codepage", required_argument, nullptr, kSourceCodePage},
      {"target-codepage", required_argument, nullptr, kTargetCodePage},
      {"analyse", no_argument, nullptr, 'a'},
      {"analyze", no_argument, nullptr, 'a'},
      {"list-languages", no_argument, nullptr, kListLanguages},
      {"utf16", no_argument, nullptr, kUtf16},
      {"quiet", no_argument, nullptr, 'q'},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersion},
      {nullptr, 0, nullptr, 0},
  };
  optind = 0;  // restart scanning (tests call this more than once)
  opterr = 0;
  for (;;) {
    const int c = getopt_long(argc, argv, "o:s:t:aqh", kLong, nullptr);
    if (c == -1) break;
    switch (c) {
      case 'o': options.tmxPath = optarg; break;
      case 's': options.source = optarg; break;
      case 't': options.target = optarg; break;
      case 'a': options.analyse = true; break;
      case 'q': options.quiet = true; break;
      case 'h': options.help = true; break;
      case kVersion: options.version = true; break;
      case kUtf16: options.utf16 = true; break;
      case kListLanguages: options.listLanguages = true; break;
      case kSourceCodePage:
      case kTargetCodePage: {
        int value = 0;
        if (!ParseCodePage(optarg, value)) {
          error = std::string("invalid code page '") + optarg + "'";
          return false;
        }
        (c == kSourceCodePage ? options.sourceCodePage : options.targetCodePage) = value;
        break;
      }
      case ':':
        error = std::string("option '") + argv[optind - 1] + "' needs an argument";
        return false;
      default:
        if (optopt && optopt < 256) {
          error = std::string("unknown option '-") + static_cast<char>(optopt) + "'";
        } else {
          error = std::string("unknown option '") + argv[optind - 1] + "'";
        }
        return false;
    }
  }
  if (options.help || options.version || options.listLanguages) return true;
  if (optind >= argc) {
    error = "no TXT file given";
    return false;
  }
  if (argc - optind > 1) {
    error = std::string("unexpected argument '") + argv[optind + 1] + "'";
    return false;
  }
  options.txtPath = argv[optind];
  return true;
}

std::string CliUsage() {
  return "Usage: velmar2tmx-cli [OPTIONS] TXT-FILE\n"
         "Converts a Velmar Vovuzaduz TXT translation memory into a TMX 1.4 file.\n"
         "\n"
         "  -o, --output PATH        TMX file (default: the TXT path with extension .tmx)\n"
         "  -s, --source CODE        source language, any code form (default: first language found)\n"
         "  -t, --target CODE        target language (default: next language found)\n"
         "      --source-codepage N  code page of the source segments\n"
         "      --target-codepage N  code page of the target segments and field values\n"
         "  -a, --analyse            list the languages of the file: code, code page, name\n"
         "      --list-languages     list the languages that -s and -t accept\n"
         "      --utf16              write UTF-16LE instead of UTF-8\n"
         "  -q, --quiet              no progress display\n"
         "  -h, --help               show this help\n"
         "      --version            show the version\n"
         "\n"
         "Exit status: 0 units written (or analysis done), 1 no unit written,\n"
         "2 usage error, 3 a file cannot be opened, created or written.\n";
}

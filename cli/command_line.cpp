// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <string>
#include <system_error>

#include "cli/conversion_run.h"
#include "cli/language_choice.h"
#include "cli/options.h"

namespace {

int RunCommand(int argc, char** argv, FILE* out, FILE* err) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(argc, argv, options, error)) return PrintUsageError(error, err);
  if (options.help) {
    std::fputs(CliUsage().c_str(), out);
    return kExitConverted;
  }
  if (options.version) {
    std::fprintf(out, "velmar2tmx-cli %s\n", VELMAR_VERSION);
    return kExitConverted;
  }
  if (options.listLanguages) return PrintLanguageList(out);
  if (options.analyse) return PrintAnalysis(options, out, err);
  GivenLanguages given;
  if (const int status = ResolveGivenLanguages(options, given, err); status != 0) return status;
  return RunConversions(options, given, out, err);
}

}  // namespace

int PrintUsageError(const std::string& message, FILE* err) {
  std::fprintf(err, "velmar2tmx-cli: %s\nTry 'velmar2tmx-cli --help' for more information.\n",
               message.c_str());
  return kExitUsage;
}

int RunCommandLine(int argc, char** argv, FILE* out, FILE* err) {
  int status = kExitFile;
  try {
    status = RunCommand(argc, argv, out, err);
  } catch (const std::bad_alloc&) {
    // The files of the run handle this themselves; this is what is left (the options ...).
    std::fputs("velmar2tmx-cli: out of memory\n", err);
  } catch (const std::system_error&) {
    std::fputs("velmar2tmx-cli: out of memory\n", err);
  }
  // What went to out (messages, --analyse, --list-languages) must have arrived, as with every
  // GNU tool: "velmar2tmx-cli --list-languages > /dev/full" is an error.
  errno = 0;
  if (std::fflush(out) != 0 || std::ferror(out)) {
    const int number = errno;
    std::fprintf(err, "velmar2tmx-cli: write error on standard output%s%s\n", number ? ": " : "",
                 number ? std::strerror(number) : "");
    return status == kExitConverted ? kExitFile : status;
  }
  return status;
}

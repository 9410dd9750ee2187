// SPDX-License-Identifier: MIT
// The command line's contract: arguments, output paths, messages and exit statuses.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/command_line.h"
#include "cli/options.h"
#include "cli/quoting.h"
#include "cli/run_summary.h"
#include "cli/terminal_progress.h"
#include "engine/tmx_path.h"
#include "tests/core/recording_file_system.h"
#include "tests/core/tmx_test_util.h"

namespace {

using testutil::ReadFile;
using testutil::RunCli;
using testutil::RunCliProcess;
using testutil::TempDir;
using testutil::WriteFile;

const char kOneUnit[] = "<TrU>\r\n<Seg L=EN-US>Hello\r\n<Seg L=DE>Hallo\r\n</TrU>\r\n";

TEST(CliOptions, DerivedTmxPath) {
  EXPECT_EQ(DeriveTmxPath("/tm/legal.txt"), "/tm/legal.tmx");
  EXPECT_EQ(DeriveTmxPath("/tm/legal"), "/tm/legal.tmx");
  EXPECT_EQ(DeriveTmxPath("a.b.txt"), "a.b.tmx");
  EXPECT_EQ(DeriveTmxPath("/tm.d/legal"), "/tm.d/legal.tmx");
  EXPECT_EQ(DeriveTmxPath("/tm/.hidden"), "/tm/.hidden.tmx");
  // Here a backslash is part of a name, not a folder separator (it is one on Windows).
  EXPECT_EQ(DeriveTmxPath("tm.d\\legal"), "tm.tmx");
}

struct UsageCase {
  std::vector<std::string> args;
  std::string message;  // expected in stderr
};

std::vector<UsageCase> UsageCases() {
  return {
      {{}, "no TXT file given"},
      {{"--bogus", "x.txt"}, "unknown option '--bogus'"},
      {{"-x", "a.txt"}, "unknown option '-x'"},
      {{"--quiet=yes", "a.txt"}, "option '--quiet' takes no argument"},
      {{"--so", "EN-US", "a.txt"}, "option '--so' is ambiguous"},
      {{"--t=DE", "a.txt"}, "option '--t' is ambiguous"},
      {{"-s"}, "option '-s' needs an argument"},
      {{"a.txt", "-t"}, "option '-t' needs an argument"},
      {{"a.txt", "-qo"}, "option '-o' needs an argument"},
      {{"a.txt", "--source"}, "option '--source' needs an argument"},
      {{"a.txt", "--target-codepage"}, "option '--target-codepage' needs an argument"},
      {{"-o", "x.tmx", "a.txt", "b.txt"}, "with several TXT files use --output-dir"},
      {{"-o", "x.tmx", "-O", "/tmp", "a.txt"}, "-o and --output-dir cannot be given together"},
      {{"-O", "", "a.txt"}, "'--output-dir' needs a file name"},
      {{"-a", "a.txt", "b.txt"}, "--analyse takes one TXT file"},
      {{"a.txt", "-"}, "standard input ('-') cannot be one of several TXT files"},
      {{"-O", "/nonexistent", "a/x.txt", "b/x.txt"},
       "'a/x.txt' and 'b/x.txt' would both be written to '/nonexistent/x.tmx'"},
      {{"a.txt", "a.txt"}, "would both be written to 'a.tmx'"},
      {{"a.txt", "./a.txt"}, "'a.txt' and './a.txt' would both be written to 'a.tmx'"},
      {{"d/x.txt", "./d/x.TXT"}, "would both be written to 'd/x.tmx'"},
      {{"a/../d/x.txt", "d/x.txt"}, "would both be written to 'a/../d/x.tmx'"},
      {{"--report", "a.tmx", "a.txt"}, "--report 'a.tmx' names the TMX file 'a.tmx'"},
      {{"--report", "./x.tmx", "-o", "x.tmx", "a.txt"}, "names the TMX file 'x.tmx'"},
      {{"--report", "b.tmx", "-O", ".", "a.txt", "b.txt"}, "names the TMX file './b.tmx'"},
      {{"-A", "-t", "DE", "a.txt"}, "-t cannot be given with it"},
      {{"-A", "--target-codepage", "1251", "a.txt"},
       "--target-codepage cannot be given with --all-languages"},
      {{"--codepage", "DE", "a.txt"}, "--codepage: expected CODE=N"},
      {{"--codepage", "=1251", "a.txt"}, "--codepage: expected CODE=N"},
      {{"--codepage", "DE=", "a.txt"}, "--codepage: expected CODE=N"},
      {{"--codepage", "DE=x1", "a.txt"}, "--codepage: expected CODE=N"},
      {{"--codepage", "XX-XX=1251", "a.txt"}, "--codepage: unknown language 'XX-XX'"},
      {{"--codepage", "de=1200", "a.txt"}, "--codepage de: code page 1200 does not hold 8-bit"},
      {{"--codepage", "ru=4242", "a.txt"}, "--codepage ru: code page 4242 is not supported"},
      {{"--report", "-", "a.txt"}, "--report needs a file name ('-' is not supported)"},
      {{"--report=", "a.txt"}, "'--report' needs a file name"},
      {{"--source-codepage", "abc", "a.txt"}, "invalid code page 'abc'"},
      {{"--target-codepage", "4242", "-s", "EN-US", "-t", "DE", "a.txt"}, "code page 4242"},
      {{"--source-codepage", "1200", "a.txt"}, "code page 1200 does not hold 8-bit text"},
      {{"--target-codepage", "1201", "a.txt"}, "code page 1201 does not hold 8-bit text"},
      {{"--source-codepage", "12000", "a.txt"}, "code page 12000 does not hold 8-bit text"},
      {{"--target-codepage", "12001", "a.txt"}, "code page 12001 does not hold 8-bit text"},
      {{"--source-codepage", "65000", "a.txt"}, "code page 65000 does not hold 8-bit text"},
      {{"-o", "", "a.txt"}, "'--output' needs a file name"},
      {{"--output=", "a.txt"}, "'--output' needs a file name"},
      {{"-s", "EN-US", "-t", "DE", "-"}, "reading standard input needs -o"},
  };
}

TEST(Cli, UsageErrors) {
  for (const UsageCase& c : UsageCases()) {
    std::string out, err;
    EXPECT_EQ(RunCli(c.args, out, err), kExitUsage) << c.message;
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
    EXPECT_EQ(err.find("unknown option") != std::string::npos,
              c.message.find("unknown option") != std::string::npos)
        << err;
    EXPECT_TRUE(out.empty()) << c.message;
  }
}

TEST(Cli, EmptyOutputNameWritesNothing) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", "-o", "", dir.File("tm.txt")}, out, err),
            kExitUsage);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"tm.txt"});
}

TEST(Cli, HelpAndVersion) {
  std::string out, err;
  EXPECT_EQ(RunCli({"--help"}, out, err), kExitConverted);
  EXPECT_NE(out.find("Usage: velmar2tmx-cli"), std::string::npos);
  for (const char* text : {"-n, --no-clobber", "  130  ", "  1    ", "  3    ", "-o -", "'-'"}) {
    EXPECT_NE(out.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(RunCli({"--version"}, out, err), kExitConverted);
  EXPECT_EQ(out.rfind("velmar2tmx-cli ", 0), 0u);
}

TEST(Cli, ConvertsNextToTheTxtFileAndReportsTheCount) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", dir.File("tm.txt")}, out, err), kExitConverted);
  EXPECT_EQ(out,
            "Finished exporting.\nNumber of segments written to TMX : 1\nYour translation memory "
            "is now secure.\n1 unit written, 0 skipped\n");
  EXPECT_TRUE(err.empty());
  EXPECT_VALID_TMX(dir.File("tm.tmx"));
}

TEST(Cli, QuietPrintsNothingOnSuccess) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  EXPECT_EQ(RunCli({"-q", "-s", "EN-US", "-t", "DE", dir.File("tm.txt")}, out, err),
            kExitConverted);
  EXPECT_TRUE(out.empty()) << out;
  EXPECT_TRUE(err.empty()) << err;
  EXPECT_VALID_TMX(dir.File("tm.tmx"));
}

TEST(Cli, NothingWrittenIsStatusOneAndSaidOnStderr) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  const std::string existing = "an older TMX\n";
  WriteFile(dir.File("old.tmx"), existing);
  // Also under -q: the message explains the status.
  for (const std::vector<std::string>& quiet : {std::vector<std::string>{}, {"-q"}}) {
    for (const char* tmx : {"x.tmx", "old.tmx"}) {
      std::vector<std::string> args = quiet;
      args.insert(args.end(), {"-s", "en-us", "-t", "fr", "-o", dir.File(tmx), dir.File("tm.txt")});
      std::string out, err;
      EXPECT_EQ(RunCli(args, out, err), kExitNothing);
      EXPECT_TRUE(out.empty()) << out;
      EXPECT_NE(err.find("velmar2tmx-cli: no unit written: no unit of '" + dir.File("tm.txt") +
                         "' holds both EN-US and FR\n"),
                std::string::npos)
          << err;
      EXPECT_NE(err.find("'" + dir.File(tmx) + "' was neither created nor replaced"),
                std::string::npos)
          << err;
      EXPECT_NE(err.find("--analyse"), std::string::npos) << err;
      EXPECT_EQ(err.find("No segments were exported"), std::string::npos) << err;
    }
  }
  EXPECT_EQ(ReadFile(dir.File("old.tmx")), existing);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"old.tmx", "tm.txt"}));
}

TEST(Cli, NoClobberRefusesAnExistingFile) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  WriteFile(dir.File("tm.tmx"), "keep me");
  std::string out, err;
  EXPECT_EQ(RunCli({"-n", "-s", "EN-US", "-t", "DE", dir.File("tm.txt")}, out, err), kExitFile);
  EXPECT_TRUE(out.empty());
  EXPECT_NE(err.find("'" + dir.File("tm.tmx") + "' exists; not replaced"), std::string::npos)
      << err;
  EXPECT_EQ(ReadFile(dir.File("tm.tmx")), "keep me");
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"tm.tmx", "tm.txt"}));

  // Without an existing file -n converts; without -n the file is replaced.
  EXPECT_EQ(RunCli({"--no-clobber", "-s", "EN-US", "-t", "DE", "-o", dir.File("new.tmx"),
                    dir.File("tm.txt")},
                   out, err),
            kExitConverted)
      << err;
  EXPECT_VALID_TMX(dir.File("new.tmx"));
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", dir.File("tm.txt")}, out, err), kExitConverted);
  EXPECT_EQ(ReadFile(dir.File("tm.tmx")), ReadFile(dir.File("new.tmx")));
}

TEST(Cli, DashOutputWritesTheTmxToStandardOutput) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  ASSERT_EQ(
      RunCli({"-s", "EN-US", "-t", "DE", "-o", dir.File("file.tmx"), dir.File("tm.txt")}, out, err),
      kExitConverted);
  ASSERT_EQ(RunCli({"-s", "EN-US", "-t", "DE", "-o", "-", dir.File("tm.txt")}, out, err),
            kExitConverted)
      << err;
  EXPECT_EQ(out, ReadFile(dir.File("file.tmx")));
  EXPECT_NE(err.find("Number of segments written to TMX : 1\n"), std::string::npos) << err;
  // Written directly: no temporary file, and nothing named "-".
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"file.tmx", "tm.txt"}));
  EXPECT_EQ(RunCli({"-q", "-s", "EN-US", "-t", "DE", "-o", "-", dir.File("tm.txt")}, out, err),
            kExitConverted);
  EXPECT_TRUE(err.empty()) << err;
}

TEST(Cli, FileProblemsAreStatusThreeWithNothingOnStdout) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", dir.File("missing.txt")}, out, err), kExitFile);
  EXPECT_TRUE(out.empty());
  EXPECT_NE(err.find(dir.File("missing.txt")), std::string::npos);
  EXPECT_NE(err.find("No such file or directory"), std::string::npos);

  EXPECT_EQ(
      RunCli({"-s", "EN-US", "-t", "DE", "-o", dir.File("tm.txt"), dir.File("tm.txt")}, out, err),
      kExitFile);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(ReadFile(dir.File("tm.txt")), kOneUnit);

  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", "-o", dir.File("none/x.tmx"), dir.File("tm.txt")},
                   out, err),
            kExitFile);
  EXPECT_NE(err.find("cannot create"), std::string::npos);
  EXPECT_TRUE(out.empty());
}

TEST(CliQuoting, ControlCharactersAndBadBytesAreEscaped) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"legal.txt", "'legal.txt'"},
      {"/tm/Übersetzung – 翻訳.txt", "'/tm/Übersetzung – 翻訳.txt'"},
      {"a\x1b[2Jb", "'a\\033[2Jb'"},
      {"line\nbreak\ttab\rcr\a\b\v\f", "'line\\nbreak\\ttab\\rcr\\a\\b\\v\\f'"},
      {std::string("nul\0x", 5), "'nul\\000x'"},
      {"del\x7f", "'del\\177'"},
      {"csi\xc2\x9b"
       "31m",
       "'csi\\302\\23331m'"},                        // C1 control U+009B
      {"latin1 \xe9t\xe9", "'latin1 \\351t\\351'"},  // not UTF-8
      {"cut \xe2\x82", "'cut \\342\\202'"},          // sequence cut short
      {"overlong \xc0\xaf", "'overlong \\300\\257'"},
      {"surrogate \xed\xa0\x80", "'surrogate \\355\\240\\200'"},
      {"back\\slash", "'back\\\\slash'"},
      {"it's", "'it\\'s'"},
  };
  for (const auto& [text, quoted] : cases) EXPECT_EQ(QuoteName(text), quoted);
  EXPECT_EQ(EscapeControls("it's a\x1b"), "it's a\\033");
  EXPECT_EQ(ShownPath("/dev/stdin"), "standard input");
  EXPECT_EQ(ShownPath("/dev/stdout"), "standard output");
  EXPECT_EQ(ShownPath("/dev/stderr"), "'/dev/stderr'");
}

TEST(CliQuoting, MessagesNeverCarryControlCharacters) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  const std::string name = "x\x1b]0;title\x07\x1b[2J.txt";
  const std::string shown = "'" + dir.File("x\\033]0;title\\a\\033[2J.txt") + "'";
  const std::vector<std::vector<std::string>> runs = {
      {"-s", "EN-US", "-t", "DE", dir.File(name)},
      {"-a", dir.File(name)},
      {dir.File(name)},
      {"-s", "EN-US", "-t", "DE", "-o", dir.File("no/" + name), dir.File("tm.txt")},
      {"-s", "EN-US", "-t", "\x1b[2J", dir.File("tm.txt")},
      {"--\x1b[2J", dir.File("tm.txt")},
      {"--source-codepage", "\x1b[2J", dir.File("tm.txt")},
      {dir.File("tm.txt"), "\x1b[2J"},
  };
  for (const auto& args : runs) {
    std::string out, err;
    EXPECT_NE(RunCli(args, out, err), kExitConverted);
    EXPECT_FALSE(err.empty());
    for (const char c : err) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << err;
    EXPECT_NE(err.find("\\033[2J"), std::string::npos) << err;
  }
  std::string out, err;
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", dir.File(name)}, out, err), kExitFile);
  EXPECT_NE(err.find("cannot open " + shown + ": No such file"), std::string::npos) << err;
}

TEST(Cli, OutputThatCannotBeWrittenIsAnError) {
  FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  FILE* err = std::tmpfile();
  ASSERT_NE(err, nullptr);
  std::vector<std::string> storage = {"velmar2tmx-cli", "--list-languages"};
  std::vector<char*> argv;
  for (std::string& word : storage) argv.push_back(word.data());
  argv.push_back(nullptr);
  EXPECT_EQ(RunCommandLine(2, argv.data(), full, err), kExitFile);
  std::fflush(err);
  std::rewind(err);
  char text[200] = {};
  EXPECT_GT(std::fread(text, 1, sizeof text - 1, err), 0u);
  EXPECT_NE(std::string(text).find("write error on standard output: No space left on device"),
            std::string::npos)
      << text;
  std::fclose(err);
  std::fclose(full);
}

TEST(Cli, Utf16Output) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  EXPECT_EQ(RunCli({"--utf16", "-s", "EN-US", "-t", "DE", dir.File("tm.txt")}, out, err),
            kExitConverted);
  EXPECT_EQ(ReadFile(dir.File("tm.tmx")).substr(0, 4), std::string("\xFF\xFE<\0", 4));
}

// Units of every kind: written, without a source segment, without a target segment, and with
// a language code that names no language.
std::string MixedUnits() {
  return std::string(kOneUnit) + kOneUnit + kOneUnit +
         "<TrU>\r\n<Seg L=DE>nur Deutsch\r\n</TrU>\r\n"
         "<TrU>\r\n<Seg L=EN-US>English only\r\n</TrU>\r\n"
         "<TrU>\r\n<Seg L=EN-US>English only\r\n</TrU>\r\n"
         "<TrU>\r\n<Seg L=EN-US>odd\r\n<Seg L=QQ-QQ>odd\r\n</TrU>\r\n";
}

TEST(CliSummary, CountsAndReasonsInTheirOrder) {
  SkipCounts none;
  EXPECT_EQ(SummaryLine(1, none), "1 unit written, 0 skipped");
  SkipCounts target;
  target.noTarget = 2;
  EXPECT_EQ(SummaryLine(3, target), "3 units written, 2 skipped (no target segment: 2)");
  SkipCounts all;
  all.unresolved = 1;
  all.noSource = 4;
  all.noTarget = 2;
  EXPECT_EQ(SummaryLine(0, all),
            "0 units written, 7 skipped (no source segment: 4, no target segment: 2, unknown "
            "language code: 1)");
  // Segments left out of written units follow, those of other languages than the pair not.
  SkipCounts segments;
  segments.segments.otherLanguage = 5;
  EXPECT_EQ(SummaryLine(2, segments), "2 units written, 0 skipped");
  segments.segments.unknownCode = 1;
  EXPECT_EQ(SummaryLine(2, segments),
            "2 units written, 0 skipped, 1 segment left out (unknown language code: 1)");
  all.segments.repeated = 2;
  all.segments.empty = 1;
  EXPECT_EQ(SummaryLine(0, all),
            "0 units written, 7 skipped (no source segment: 4, no target segment: 2, unknown "
            "language code: 1), 3 segments left out (repeated language: 2, empty: 1)");
}

TEST(CliProgress, TheLabelNamesTheFileOfABatch) {
  FILE* err = std::tmpfile();
  ASSERT_NE(err, nullptr);
  {
    TerminalProgress progress(err, true);
    progress.SetLabel("File 2 of 5 'b.txt': ");
    progress.SetState(ProgressState::Exporting);
    progress.SetPosition(45);
    progress.SetPosition(45);  // unchanged: not printed again
    progress.SetPosition(100);
  }
  std::fflush(err);
  std::rewind(err);
  char text[200] = {};
  const size_t length = std::fread(text, 1, sizeof text - 1, err);
  std::fclose(err);
  EXPECT_EQ(std::string(text, length),
            "\rFile 2 of 5 'b.txt': Exporting...  45%\rFile 2 of 5 'b.txt': Exporting... 100%\n");
}

TEST(CliSummary, WorstStatusWins) {
  const std::vector<std::pair<std::vector<int>, int>> cases = {
      {{0, 0}, 0}, {{0, 1}, 1},        {{1, 2, 0}, 2},  {{3, 2, 1}, 3},
      {{2, 3}, 3}, {{0, 130, 3}, 130}, {{130, 0}, 130}, {{1, 0}, 1},
  };
  for (const auto& [statuses, worst] : cases) {
    int status = 0;
    for (const int s : statuses) status = WorseStatus(status, s);
    EXPECT_EQ(status, worst) << ::testing::PrintToString(statuses);
  }
}

TEST(Cli, SummaryLineEndsASingleConversion) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), MixedUnits());
  std::string out, err;
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", dir.File("tm.txt")}, out, err), kExitConverted);
  EXPECT_EQ(out,
            "Finished exporting.\nNumber of segments written to TMX : 3\nYour translation memory "
            "is now secure.\n3 units written, 4 skipped (no source segment: 1, no target "
            "segment: 2, unknown language code: 1)\n");
  EXPECT_TRUE(err.empty()) << err;
  EXPECT_VALID_TMX(dir.File("tm.tmx"));
  // With the TMX on standard output the messages go to stderr; -q silences them.
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", "-o", "-", dir.File("tm.txt")}, out, err),
            kExitConverted);
  EXPECT_NE(err.find("is now secure.\n3 units written, 4 skipped (no source segment: 1"),
            std::string::npos)
      << err;
  EXPECT_EQ(RunCli({"-q", "-s", "EN-US", "-t", "DE", dir.File("tm.txt")}, out, err),
            kExitConverted);
  EXPECT_TRUE(out.empty()) << out;
  EXPECT_TRUE(err.empty()) << err;
  // Segments left out of a written unit are named; those of other languages than the pair not.
  WriteFile(
      dir.File("tm.txt"),
      "<TrU>\r\n<Seg L=EN-US>a\r\n<Seg L=QQ-ZZ>q\r\n<Seg L=FR>f\r\n<Seg L=DE>d\r\n</TrU>\r\n");
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", dir.File("tm.txt")}, out, err), kExitConverted);
  EXPECT_NE(
      out.find("\n1 unit written, 0 skipped, 1 segment left out (unknown language code: 1)\n"),
      std::string::npos)
      << out;
}

TEST(CliBatch, AFailedFileDoesNotStopTheOthers) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), kOneUnit);
  WriteFile(dir.File("c.txt"), MixedUnits());
  ASSERT_EQ(::mkdir(dir.File("b.txt").c_str(), 0700), 0);  // a folder cannot be read as a file
  std::string out, err;
  EXPECT_EQ(RunCli({"-s", "en-us", "-t", "de", dir.File("a.txt"), dir.File("b.txt"),
                    dir.File("missing.txt"), dir.File("c.txt")},
                   out, err),
            kExitFile);
  EXPECT_EQ(out, dir.File("a.txt") + "\t" + dir.File("a.tmx") + "\t1 written\t0 skipped\n" +
                     dir.File("b.txt") + "\t" + dir.File("b.tmx") +
                     "\t0 written\t0 skipped\tfailed\n" + dir.File("missing.txt") + "\t" +
                     dir.File("missing.tmx") + "\t0 written\t0 skipped\tfailed\n" +
                     dir.File("c.txt") + "\t" + dir.File("c.tmx") + "\t3 written\t4 skipped\n" +
                     "4 files (2 not converted): 4 units written, 4 skipped (no source segment: 1, "
                     "no target segment: 2, unknown language code: 1)\n");
  EXPECT_NE(err.find("cannot read '" + dir.File("b.txt") + "'"), std::string::npos) << err;
  EXPECT_NE(err.find("cannot open '" + dir.File("missing.txt") + "': No such file"),
            std::string::npos)
      << err;
  EXPECT_EQ(err.find("Finished exporting"), std::string::npos) << err;
  EXPECT_VALID_TMX(dir.File("a.tmx"));
  EXPECT_VALID_TMX(dir.File("c.tmx"));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.tmx", "a.txt", "b.txt", "c.tmx", "c.txt"}));
  // -q: errors only.
  EXPECT_EQ(RunCli({"-q", "-s", "EN-US", "-t", "DE", dir.File("a.txt"), dir.File("missing.txt")},
                   out, err),
            kExitFile);
  EXPECT_TRUE(out.empty()) << out;
  EXPECT_NE(err.find("missing.txt"), std::string::npos) << err;
}

// Two TXT files whose TMX files are one file by different names, or a TMX file that is another
// TXT file of the batch: refused before anything is written.
TEST(CliBatch, OneFileByTwoNamesIsCaught) {
  TempDir dir;
  for (const char* folder : {"a", "d", "h"}) ASSERT_EQ(::mkdir(dir.File(folder).c_str(), 0700), 0);
  ASSERT_EQ(::symlink("d", dir.File("e").c_str()), 0);
  for (const char* txt : {"d/x.txt", "d/y.txt", "h/y.txt", "a.txt"})
    WriteFile(dir.File(txt), kOneUnit);
  WriteFile(dir.File("d/y.tmx"), "older");
  ASSERT_EQ(::link(dir.File("d/y.tmx").c_str(), dir.File("h/y.tmx").c_str()), 0);
  WriteFile(dir.File("a.tmx"), kOneUnit);  // a TXT file, also named q.txt
  ASSERT_EQ(::symlink("a.tmx", dir.File("q.txt").c_str()), 0);
  struct Case {
    std::string first, second, message;
  };
  const std::vector<Case> cases = {
      {dir.File("d/x.txt"), dir.path() + "/./d/x.TXT", "would both be written to"},
      {dir.File("a/../d/x.txt"), dir.File("d/x.txt"), "would both be written to"},
      {dir.File("d/x.txt"), dir.File("e/x.txt"), "would both be written to"},
      {dir.File("d/y.txt"), dir.File("h/y.txt"), "would both be written to"},
      {dir.File("a.txt"), dir.File("q.txt"),
       "would be written to '" + dir.File("a.tmx") + "', which is the TXT file"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> before = dir.Entries();
    std::string out, err;
    EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", c.first, c.second}, out, err), kExitUsage)
        << c.second;
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
    EXPECT_EQ(dir.Entries(), before) << c.second;
    EXPECT_EQ(ReadFile(dir.File("d/y.tmx")), "older");
    EXPECT_EQ(ReadFile(dir.File("a.tmx")), kOneUnit);
  }
}

TEST(CliBatch, DefaultsComeFromEachFileAndTheWorstStatusCounts) {
  TempDir dir;
  WriteFile(dir.File("en-de.txt"), kOneUnit);
  WriteFile(dir.File("fr-it.txt"), "<TrU>\r\n<Seg L=FR>un\r\n<Seg L=IT>uno\r\n</TrU>\r\n");
  WriteFile(dir.File("one.txt"), "<TrU>\r\n<Seg L=FR>seul\r\n</TrU>\r\n");  // no target: 2
  WriteFile(dir.File("empty.txt"), "");                                     // no language: 1
  ASSERT_EQ(::mkdir(dir.File("out").c_str(), 0700), 0);
  std::string out, err;
  EXPECT_EQ(RunCli({"-O", dir.File("out"), dir.File("en-de.txt"), dir.File("fr-it.txt")}, out, err),
            kExitConverted)
      << err;
  EXPECT_NE(ReadFile(dir.File("out/en-de.tmx")).find("<tuv xml:lang=\"DE\">"), std::string::npos);
  EXPECT_NE(ReadFile(dir.File("out/fr-it.tmx")).find("<tuv xml:lang=\"IT\">"), std::string::npos);
  EXPECT_VALID_TMX(dir.File("out/en-de.tmx"));
  EXPECT_VALID_TMX(dir.File("out/fr-it.tmx"));
  EXPECT_NE(out.find("\t" + dir.File("out/fr-it.tmx") + "\t1 written\t0 skipped\n"),
            std::string::npos)
      << out;

  EXPECT_EQ(RunCli({"-O", dir.File("out"), dir.File("empty.txt"), dir.File("en-de.txt")}, out, err),
            kExitNothing);
  EXPECT_NE(out.find("\t0 written\t0 skipped\tnothing written\n"), std::string::npos) << out;
  EXPECT_EQ(RunCli({"-O", dir.File("out/"), dir.File("one.txt"), dir.File("empty.txt")}, out, err),
            kExitUsage);
  EXPECT_NE(err.find("no target language to choose in '" + dir.File("one.txt") + "'"),
            std::string::npos)
      << err;
  EXPECT_EQ(out, dir.File("one.txt") + "\t" + dir.File("out/one.tmx") +
                     "\t0 written\t0 skipped\tfailed\n" + dir.File("empty.txt") + "\t" +
                     dir.File("out/empty.tmx") + "\t0 written\t0 skipped\tnothing written\n" +
                     "2 files (2 not converted): 0 units written, 0 skipped\n");
  EXPECT_EQ(
      RunCli({"-O", dir.File("none"), dir.File("en-de.txt"), dir.File("fr-it.txt")}, out, err),
      kExitFile);
  EXPECT_NE(err.find("--output-dir '" + dir.File("none") + "': No such file or directory"),
            std::string::npos)
      << err;
  EXPECT_FALSE(testutil::FileExists(dir.File("en-de.tmx")));
}

TEST(CliReport, WrittenAsJsonForEveryFile) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), MixedUnits());
  WriteFile(dir.File("old.json"), "an older report\n");
  std::string out, err;
  EXPECT_EQ(RunCli({"--report", dir.File("old.json"), "-s", "EN-US", "-t", "DE", dir.File("a.txt"),
                    dir.File("missing.txt")},
                   out, err),
            kExitFile);
  EXPECT_VALID_TMX(dir.File("a.tmx"));
  // Still the summary on stdout.
  EXPECT_NE(out.find("2 files (1 not converted): 3 units written, 4 skipped"), std::string::npos)
      << out;
  const nlohmann::json report = nlohmann::json::parse(ReadFile(dir.File("old.json")));
  ASSERT_EQ(report["files"].size(), 2u);
  const nlohmann::json& a = report["files"][0];
  EXPECT_EQ(a["input"], dir.File("a.txt"));
  EXPECT_EQ(a["output"], dir.File("a.tmx"));
  EXPECT_EQ(a["outcome"], "written");
  EXPECT_EQ(a["source"]["language"], "EN-US");
  EXPECT_EQ(a["languages"][0]["language"], "DE");
  EXPECT_EQ(a["unitsRead"], 7);
  EXPECT_EQ(a["unitsWritten"], 3);
  EXPECT_EQ(a["unitsSkipped"]["total"], 4);
  EXPECT_EQ(a["unitsSkipped"]["noTargetSegment"]["entries"][0]["line"], 16);
  EXPECT_EQ(a["unitsSkipped"]["unresolvedLanguageCode"]["count"], 1);
  EXPECT_EQ(report["files"][1]["outcome"], "failed");
  EXPECT_NE(report["files"][1]["error"].get<std::string>().find("No such file"), std::string::npos);
  EXPECT_EQ(report["total"]["files"], 2);
  EXPECT_EQ(report["total"]["unitsWritten"], 3);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.tmx", "a.txt", "old.json"}));

  // A file whose languages cannot be chosen has its entry too; -q does not stop the report.
  WriteFile(dir.File("empty.txt"), "");
  EXPECT_EQ(RunCli({"-q", "--report=" + dir.File("r.json"), dir.File("empty.txt")}, out, err),
            kExitNothing);
  EXPECT_TRUE(out.empty()) << out;
  const nlohmann::json empty = nlohmann::json::parse(ReadFile(dir.File("r.json")));
  EXPECT_EQ(empty["files"][0]["outcome"], "failed");
  EXPECT_EQ(empty["files"][0]["error"], "no language found in the TXT file");
}

// The report's strings are UTF-8: a file name that is not is escaped as the messages escape it
// and marked, so that it can be told back; other names are written as they are.
TEST(CliReport, NamesThatAreNotUtf8AreEscapedAsInMessages) {
  TempDir dir;
  const std::string latin1 = dir.File("caf\xE9.txt"), utf8 = dir.File("b\\caf\xC3\xA9.txt");
  WriteFile(latin1, kOneUnit);
  WriteFile(utf8, kOneUnit);
  std::string out, err;
  ASSERT_EQ(RunCli({"--report", dir.File("r.json"), "-s", "EN-US", "-t", "DE", latin1, utf8,
                    dir.File("\xFFmissing.txt")},
                   out, err),
            kExitFile);
  const nlohmann::json report = nlohmann::json::parse(ReadFile(dir.File("r.json")));
  ASSERT_EQ(report["files"].size(), 3u);
  const nlohmann::json& escaped = report["files"][0];
  EXPECT_EQ(escaped["input"], dir.File("caf\\351.txt"));
  EXPECT_EQ(escaped["inputEscaped"], true);
  EXPECT_EQ(escaped["output"], dir.File("caf\\351.tmx"));
  EXPECT_EQ(escaped["outputEscaped"], true);
  EXPECT_EQ(escaped["outcome"], "written");
  const nlohmann::json& plain = report["files"][1];
  EXPECT_EQ(plain["input"], utf8);
  EXPECT_EQ(plain.count("inputEscaped"), 0u);
  EXPECT_EQ(plain.count("outputEscaped"), 0u);
  const nlohmann::json& missing = report["files"][2];
  EXPECT_EQ(missing["input"], dir.File("\\377missing.txt"));
  EXPECT_EQ(missing["error"], dir.File("\\377missing.txt") + ": No such file or directory");
  // The messages name the file the same way.
  EXPECT_NE(err.find(dir.File("\\377missing.txt")), std::string::npos) << err;
}

TEST(CliReport, AReportThatCannotBeWrittenIsAnErrorAndHarmsNothing) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), kOneUnit);
  ASSERT_EQ(::mkdir(dir.File("r.json").c_str(), 0700), 0);
  std::string out, err;
  EXPECT_EQ(RunCli({"--report", dir.File("none/r.json"), dir.File("a.txt")}, out, err), kExitFile);
  EXPECT_NE(err.find("cannot write the report '" + dir.File("none/r.json") +
                     "': No such file or directory"),
            std::string::npos)
      << err;
  EXPECT_FALSE(testutil::FileExists(dir.File("a.tmx")));  // checked before converting
  EXPECT_EQ(RunCli({"--report", dir.File("r.json"), dir.File("a.txt")}, out, err), kExitFile);
  EXPECT_NE(err.find("cannot write the report '" + dir.File("r.json") + "': Is a directory"),
            std::string::npos)
      << err;
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.txt", "r.json"}));
}

// The report is never written over a file the run reads or writes, by whatever name: the run
// is refused before anything is converted.
TEST(CliReport, NeverWrittenOverAFileOfTheRun) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), kOneUnit);
  WriteFile(dir.File("b.txt"), kOneUnit);
  WriteFile(dir.File("a.tmx"), "an older TMX");
  ASSERT_EQ(::link(dir.File("a.txt").c_str(), dir.File("hard.txt").c_str()), 0);
  ASSERT_EQ(::symlink("a.txt", dir.File("soft.json").c_str()), 0);
  ASSERT_EQ(::symlink(dir.path().c_str(), dir.File("folder").c_str()), 0);
  const std::vector<std::string> before = dir.Entries();
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--report", dir.File("a.txt"), dir.File("a.txt")}, "names the TXT file"},
      {{"--report", dir.path() + "/./a.txt", dir.File("a.txt")}, "names the TXT file"},
      {{"--report", dir.File("hard.txt"), dir.File("a.txt")}, "names the TXT file"},
      {{"--report", dir.File("soft.json"), dir.File("a.txt")}, "names the TXT file"},
      {{"--report", dir.File("b.txt"), dir.File("a.txt"), dir.File("b.txt")}, "names the TXT file"},
      {{"--report", dir.File("a.tmx"), dir.File("a.txt")}, "names the TMX file"},
      {{"--report", dir.File("folder/a.tmx"), dir.File("a.txt")}, "names the TMX file"},
      {{"--report", dir.File("b.tmx"), dir.File("a.txt"), dir.File("b.txt")}, "names the TMX file"},
      {{"--report", dir.File("folder/b.tmx"), dir.File("b.txt")}, "names the TMX file"},
      {{"--report", dir.File("x.tmx"), "-o", dir.path() + "/./x.tmx", dir.File("a.txt")},
       "names the TMX file"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"-s", "EN-US", "-t", "DE"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::string out, err;
    EXPECT_EQ(RunCli(args, out, err), kExitUsage) << c.args[1];
    EXPECT_NE(err.find("--report '" + c.args[1] + "' " + c.message), std::string::npos) << err;
    EXPECT_EQ(ReadFile(dir.File("a.txt")), kOneUnit) << c.args[1];
    EXPECT_EQ(ReadFile(dir.File("a.tmx")), "an older TMX") << c.args[1];
    EXPECT_EQ(dir.Entries(), before) << c.args[1];
  }
}

// The report is written as the TMX is: a FIFO written into, a link followed and kept, the mode
// of a replaced report kept.
TEST(CliReport, WrittenAsTheTmxIs) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), kOneUnit);
  const mode_t old = ::umask(022);
  WriteFile(dir.File("kept.json"), "an older report");
  ASSERT_EQ(::chmod(dir.File("kept.json").c_str(), 0600), 0);
  std::string out, err;
  EXPECT_EQ(RunCli({"-q", "--report", dir.File("kept.json"), dir.File("a.txt")}, out, err),
            kExitConverted)
      << err;
  struct stat st {};
  ASSERT_EQ(::stat(dir.File("kept.json").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(nlohmann::json::parse(ReadFile(dir.File("kept.json")))["files"][0]["outcome"],
            "written");
  ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0700), 0);
  ASSERT_EQ(::symlink("real/r.json", dir.File("link.json").c_str()), 0);
  EXPECT_EQ(RunCli({"-q", "--report", dir.File("link.json"), dir.File("a.txt")}, out, err),
            kExitConverted)
      << err;
  ASSERT_EQ(::lstat(dir.File("link.json").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(nlohmann::json::parse(ReadFile(dir.File("real/r.json")))["total"]["files"], 1);
  ASSERT_EQ(::stat(dir.File("real/r.json").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  ::umask(old);
  const std::string fifo = dir.File("pipe.json");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // The read end is open first: the report does not wait for a reader, and a report that
  // replaced the FIFO instead of going into it leaves it empty.
  const int readEnd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(readEnd, 0);
  EXPECT_EQ(RunCli({"-q", "--report", fifo, dir.File("a.txt")}, out, err), kExitConverted) << err;
  std::string received;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(readEnd, buffer, sizeof buffer)) > 0) received.append(buffer, n);
  ::close(readEnd);
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(nlohmann::json::parse(received)["files"][0]["unitsWritten"], 1);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.tmx", "a.txt", "kept.json", "link.json",
                                                     "pipe.json", "real"}));
}

// A stop (Ctrl-C) that comes while the TMX file is being put in place: before its bytes are on
// the disk the old file stays and the run is interrupted (130); once it is renamed the run
// succeeded (0, unless files are left), and the report says what happened.
TEST(CliReport, AStopDuringTheCommitGivesOneConsistentOutcome) {
  struct Case {
    std::string at;  // the operation during which the stop comes
    bool batch;
    int status;
    std::string outcome;  // of a.txt in the report
  };
  const std::vector<Case> cases = {
      {"write", false, kExitInterrupted, "interrupted"},
      {"sync", false, kExitInterrupted, "interrupted"},
      {"rename", false, kExitConverted, "written"},
      {"sync folder", false, kExitConverted, "written"},
      {"sync", true, kExitInterrupted, "interrupted"},
      {"rename", true, kExitInterrupted, "written"},  // b.txt was not converted
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFile(dir.File("a.txt"), kOneUnit);
    WriteFile(dir.File("b.txt"), kOneUnit);
    WriteFile(dir.File("a.tmx"), "previous");
    std::vector<std::string> args = {
        "-s", "EN-US", "-t", "DE", "--report", dir.File("r.json"), dir.File("a.txt")};
    if (c.batch) args.push_back(dir.File("b.txt"));
    std::string out, err;
    int status = -1;
    {
      testutil::RecordingFileSystem files;
      files.atOperation = [&](const std::string& operation) {
        if (operation == c.at) TerminalProgress::SetInterrupted(true);
      };
      status = RunCli(args, out, err);
    }
    const bool interrupted = TerminalProgress::Interrupted();
    TerminalProgress::SetInterrupted(false);
    ASSERT_TRUE(interrupted) << c.at;
    EXPECT_EQ(status, c.status) << c.at << " " << err;
    const nlohmann::json report = nlohmann::json::parse(ReadFile(dir.File("r.json")));
    EXPECT_EQ(report["files"].size(), 1u) << c.at;
    EXPECT_EQ(report["files"][0]["outcome"], c.outcome) << c.at;
    if (c.outcome == "written") {
      EXPECT_VALID_TMX(dir.File("a.tmx"));
      EXPECT_EQ(err.find("interrupted"), std::string::npos) << err;
    } else {
      EXPECT_EQ(ReadFile(dir.File("a.tmx")), "previous") << c.at;
      EXPECT_NE(err.find("interrupted; '" + dir.File("a.tmx") + "' was not written"),
                std::string::npos)
          << err;
    }
    EXPECT_FALSE(testutil::FileExists(dir.File("b.tmx"))) << c.at;
  }
}

// "--report r.tmx -o - ... >> r.tmx": the report would replace the TMX on standard output.
TEST(CliProcess, ReportNamingStandardOutputIsRefused) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), kOneUnit);
  const std::string command = std::string(VELMAR_CLI_PATH) + " -s EN-US -t DE -o - --report '" +
                              dir.File("r.tmx") + "' '" + dir.File("a.txt") + "' </dev/null >>'" +
                              dir.File("r.tmx") + "' 2>'" + dir.File("err") + "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kExitUsage);
  EXPECT_NE(ReadFile(dir.File("err")).find("names standard output"), std::string::npos)
      << ReadFile(dir.File("err"));
  EXPECT_EQ(ReadFile(dir.File("r.tmx")), "");
}

TEST(CliProcess, QuietWhenStderrIsNoTerminal) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  EXPECT_EQ(RunCliProcess("-s EN-US -t DE " + dir.File("tm.txt"), out, err), kExitConverted);
  EXPECT_TRUE(err.empty()) << err;
  EXPECT_NE(out.find("Number of segments written to TMX : 1\n"), std::string::npos);
  EXPECT_VALID_TMX(dir.File("tm.tmx"));
}

TEST(CliProcess, WorkedFileByteForByte) {
  TempDir dir;
  std::string out, err;
  EXPECT_EQ(RunCliProcess(std::string("-q -s EN-US -t DE -o ") + dir.File("w.tmx") + " " +
                              VELMAR_TEST_DATA "/worked.txt",
                          out, err),
            kExitConverted);
  EXPECT_EQ(ReadFile(dir.File("w.tmx")), ReadFile(VELMAR_TEST_DATA "/worked.tmx"));
}

}  // namespace

namespace {

std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs the built converter with the TXT file piped into its standard input (or redirected from
// the file when pipe is false).
int RunCliOnPipe(const std::string& txt, const std::string& arguments, std::string& out,
                 std::string& err, bool pipe = true) {
  TempDir dir;
  const std::string command = (pipe ? "cat " + ShellQuote(txt) + " | " : std::string()) +
                              VELMAR_CLI_PATH + " " + arguments +
                              (pipe ? std::string() : " <" + ShellQuote(txt)) + " >" +
                              dir.File("out") + " 2>" + dir.File("err");
  const int status = std::system(command.c_str());
  out = ReadFile(dir.File("out"));
  err = ReadFile(dir.File("err"));
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliProcess, DashReadsStandardInput) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  ASSERT_EQ(
      RunCli({"-s", "EN-US", "-t", "DE", "-o", dir.File("file.tmx"), dir.File("tm.txt")}, out, err),
      kExitConverted);
  const std::string expected = ReadFile(dir.File("file.tmx"));

  EXPECT_EQ(RunCliOnPipe(dir.File("tm.txt"), "-s en-us -t de -o " + dir.File("pipe.tmx") + " -",
                         out, err),
            kExitConverted)
      << err;
  EXPECT_EQ(ReadFile(dir.File("pipe.tmx")), expected);
  EXPECT_NE(out.find("Number of segments written to TMX : 1\n"), std::string::npos) << out;

  EXPECT_EQ(RunCliOnPipe(dir.File("tm.txt"), "-s EN-US -t DE -o - -", out, err), kExitConverted)
      << err;
  EXPECT_EQ(out, expected);
  EXPECT_NE(err.find("Number of segments written to TMX : 1\n"), std::string::npos) << err;
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"file.tmx", "pipe.tmx", "tm.txt"}));

  EXPECT_EQ(
      RunCliOnPipe(dir.File("tm.txt"), "-s EN-US -t FR -o " + dir.File("x.tmx") + " -", out, err),
      kExitNothing);
  EXPECT_NE(err.find("no unit of standard input holds both EN-US and FR"), std::string::npos)
      << err;

  EXPECT_EQ(RunCliOnPipe(dir.File("tm.txt"), "--analyse -", out, err), kExitConverted) << err;
  EXPECT_EQ(out, "EN-US\t1252\tEnglish (United States)\nDE\t1252\tGerman (Germany)\n");

  // The analysis would use up the pipe: the languages must be given.
  for (const char* languages : {"", "-t DE ", "-s EN-US "}) {
    EXPECT_EQ(RunCliOnPipe(dir.File("tm.txt"),
                           std::string(languages) + "-o " + dir.File("y.tmx") + " -", out, err),
              kExitUsage);
    EXPECT_NE(err.find("standard input can be read only once (a pipe or a device): give both -s "
                       "and -t"),
              std::string::npos)
        << err;
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"file.tmx", "pipe.tmx", "tm.txt"}));

  // With all languages the source is enough.
  EXPECT_EQ(RunCliOnPipe(dir.File("tm.txt"), "-A -o " + dir.File("y.tmx") + " -", out, err),
            kExitUsage);
  EXPECT_NE(err.find("can be read only once (a pipe or a device): give -s, as"), std::string::npos)
      << err;
  EXPECT_EQ(
      RunCliOnPipe(dir.File("tm.txt"), "-A -s EN-US -o " + dir.File("all.tmx") + " -", out, err),
      kExitConverted)
      << err;
  EXPECT_EQ(ReadFile(dir.File("all.tmx")), expected);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"all.tmx", "file.tmx", "pipe.tmx", "tm.txt"}));

  // Standard input from a regular file can be read twice: the defaults come from the file.
  EXPECT_EQ(RunCliOnPipe(dir.File("tm.txt"), "-o " + dir.File("y.tmx") + " -", out, err, false),
            kExitConverted)
      << err;
  EXPECT_EQ(ReadFile(dir.File("y.tmx")), expected);
}

TEST(Cli, NamedPipeNeedsBothLanguages) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("tm.txt").c_str(), 0600), 0);
  for (const std::vector<std::string>& languages :
       {std::vector<std::string>{}, {"-s", "EN-US"}, {"-t", "DE"}}) {
    std::vector<std::string> args = languages;
    args.push_back(dir.File("tm.txt"));
    std::string out, err;
    EXPECT_EQ(RunCli(args, out, err), kExitUsage);
    EXPECT_NE(err.find("'" + dir.File("tm.txt") + "' can be read only once"), std::string::npos)
        << err;
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"tm.txt"});
}

enum class SignalRun { kConvert, kAnalyse, kBatch };

// Runs the converter on a pipe, sends it signal number while it reads, and gives its exit status.
// ignore: the signal is ignored when the converter starts (as under nohup). kAnalyse runs
// --analyse instead of a conversion; kBatch converts a.txt, the pipe and z.txt in one run.
int StatusAfterSignal(const TempDir& dir, int number, bool ignore,
                      SignalRun run = SignalRun::kConvert) {
  const std::string fifo = dir.File("tm.txt");
  EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::vector<std::string> words = {VELMAR_CLI_PATH,    "-s", "EN-US", "-t", "DE", "-o",
                                    dir.File("tm.tmx"), fifo};
  if (run == SignalRun::kAnalyse) words = {VELMAR_CLI_PATH, "--analyse", fifo};
  if (run == SignalRun::kBatch) {
    words = {VELMAR_CLI_PATH,   "-s", "EN-US",          "-t", "DE",
             dir.File("a.txt"), fifo, dir.File("z.txt")};
  }
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int devnull = ::open("/dev/null", O_WRONLY);
    ::dup2(devnull, 1);
    ::dup2(devnull, 2);
    std::signal(number, ignore ? SIG_IGN : SIG_DFL);
    ::execv(VELMAR_CLI_PATH, argv.data());
    ::_exit(127);
  }
  EXPECT_GE(pid, 0);
  if (pid < 0) return -1;
  // The converter blocks reading the pipe until the signal has arrived, so it must see it.
  // Opening the pipe for writing succeeds once the converter has opened it for reading.
  int fd = -1;
  for (int tries = 0; fd < 0 && tries < 20000; ++tries) {
    fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) break;
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) != 0) {
      ADD_FAILURE() << "the converter ended before reading";
      return -1;
    }
    const struct timespec pause { 0, 1000000 };
    ::nanosleep(&pause, nullptr);
  }
  EXPECT_GE(fd, 0);
  ::fcntl(fd, F_SETFL, 0);
  const std::string units = std::string(kOneUnit) + kOneUnit + kOneUnit;
  EXPECT_EQ(::write(fd, units.data(), units.size()), static_cast<ssize_t>(units.size()));
  ::kill(pid, number);
  // The signal is pending before any further line is written, so the handler runs before
  // the converter reads on.
  // The converter stops reading once it has seen the interrupt: later writes may fail.
  void (*previous)(int) = std::signal(SIGPIPE, SIG_IGN);
  for (int i = 0; i < 10; ++i) {
    if (::write(fd, units.data(), units.size()) < 0) break;
  }
  std::signal(SIGPIPE, previous);
  ::close(fd);
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status));
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliProcess, InterruptLeavesNoFile) {
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
    TempDir dir;
    EXPECT_EQ(StatusAfterSignal(dir, number, false), kExitInterrupted) << strsignal(number);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"tm.txt"}) << strsignal(number);
  }
}

TEST(CliProcess, InterruptStopsTheAnalysis) {
  TempDir dir;
  EXPECT_EQ(StatusAfterSignal(dir, SIGTERM, false, SignalRun::kAnalyse), kExitInterrupted);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"tm.txt"});
}

// The file in work leaves nothing behind, the finished one stays, the next is not started.
TEST(CliProcess, InterruptStopsABatch) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), kOneUnit);
  WriteFile(dir.File("z.txt"), kOneUnit);
  EXPECT_EQ(StatusAfterSignal(dir, SIGINT, false, SignalRun::kBatch), kExitInterrupted);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.tmx", "a.txt", "tm.txt", "z.txt"}));
  EXPECT_VALID_TMX(dir.File("a.tmx"));
}

// Runs a shell command in dir (stdin from /dev/null) and gives its exit status.
int RunShell(const TempDir& dir, const std::string& command) {
  const int status =
      std::system(("cd " + ShellQuote(dir.path()) + " && { " + command + "; } </dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The sanitizers' allocators end the process when memory runs out instead of throwing, and they
// cannot start under an address-space limit: the limit is tried without them (the test command
// leaves this test out of its sanitizer stages, and the engine's tests fail each thread through
// its seams in every build).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMemoryLimitWorks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kMemoryLimitWorks = false;
#else
constexpr bool kMemoryLimitWorks = true;
#endif
#else
constexpr bool kMemoryLimitWorks = true;
#endif

// Memory running out on one file of a batch (a line longer than the address space allows) is a
// message and status 3 for that file; the old TMX stays, nothing is left behind, the next file is
// converted and the report written.
TEST(CliProcess, OutOfMemoryFailsOneFileOfABatch) {
  if (!kMemoryLimitWorks) GTEST_SKIP() << "a sanitizer's allocator cannot run out of memory";
  TempDir dir;
  WriteFile(dir.File("a.txt"), kOneUnit);
  WriteFile(dir.File("z.txt"), kOneUnit);
  WriteFile(dir.File("big.tmx"), "previous");
  ASSERT_EQ(::mkfifo(dir.File("big.txt").c_str(), 0600), 0);
  // The writer of the pipe ends once nobody reads it; opening the pipe for reading and writing
  // releases a writer still waiting for a reader.
  const int status =
      RunShell(dir,
               "(head -c 4000000000 /dev/zero | tr '\\0' x >big.txt) 2>/dev/null & "
               "(ulimit -v 600000 && exec " +
                   std::string(VELMAR_CLI_PATH) +
                   " --threads 2 -s EN-US -t DE --report r.json a.txt big.txt z.txt >out 2>err); "
                   "s=$?; exec 3<>big.txt; exec 3<&-; wait; exit $s");
  EXPECT_EQ(status, kExitFile);
  const std::string err = ReadFile(dir.File("err"));
  EXPECT_EQ(err, "velmar2tmx-cli: out of memory converting 'big.txt'\n");
  EXPECT_NE(ReadFile(dir.File("out")).find("big.txt\tbig.tmx\t0 written\t0 skipped\tfailed\n"),
            std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("big.tmx")), "previous");
  EXPECT_VALID_TMX(dir.File("a.tmx"));
  EXPECT_VALID_TMX(dir.File("z.tmx"));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.tmx", "a.txt", "big.tmx", "big.txt", "err",
                                                     "out", "r.json", "z.tmx", "z.txt"}));
  const nlohmann::json report = nlohmann::json::parse(ReadFile(dir.File("r.json")));
  ASSERT_EQ(report["files"].size(), 3u);
  EXPECT_EQ(report["files"][1]["outcome"], "failed");
  EXPECT_EQ(report["files"][1]["error"], "big.txt: out of memory");
  EXPECT_EQ(report["files"][2]["outcome"], "written");

  // The analysis alike.
  EXPECT_EQ(RunShell(dir,
                     "(head -c 4000000000 /dev/zero | tr '\\0' x >big.txt) 2>/dev/null & "
                     "(ulimit -v 600000 && exec " +
                         std::string(VELMAR_CLI_PATH) +
                         " --analyse big.txt >out 2>err); "
                         "s=$?; exec 3<>big.txt; exec 3<&-; wait; exit $s"),
            kExitFile);
  EXPECT_EQ(ReadFile(dir.File("err")), "velmar2tmx-cli: out of memory reading 'big.txt'\n");
}

// Input that never ends (or holds no unit for gigabytes) is read in blocks, and the stop is
// asked for before each: the analysis, the default languages and the conversion stop by
// themselves on SIGINT (else timeout kills them: status 137).
TEST(CliProcess, InterruptStopsTheReadingOfEndlessInput) {
  TempDir dir;
  const int fd = ::open(dir.File("holes.txt").c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, off_t{64} << 30), 0);  // 64 GB of NUL bytes, no disk space
  ::close(fd);
  for (const char* arguments :
       {"-a /dev/zero", "-s EN-US -t DE -o x.tmx /dev/zero", "-a holes.txt", "holes.txt"}) {
    const int status =
        RunShell(dir, "timeout --preserve-status -s INT -k 20 1 " + std::string(VELMAR_CLI_PATH) +
                          " " + arguments + " >out 2>err");
    EXPECT_EQ(status, kExitInterrupted) << arguments;
    EXPECT_NE(ReadFile(dir.File("err")).find("velmar2tmx-cli: interrupted"), std::string::npos)
        << arguments << ": " << ReadFile(dir.File("err"));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"err", "holes.txt", "out"})) << arguments;
  }
}

// Waits (at most ten seconds) until process pid sleeps in the kernel function named wait.
void AwaitKernelWait(pid_t pid, const std::string& wait) {
  for (int tries = 0; tries < 1000; ++tries) {
    if (ReadFile("/proc/" + std::to_string(pid) + "/wchan") == wait) return;
    const struct timespec pause { 0, 10000000 };
    ::nanosleep(&pause, nullptr);
  }
}

// A named pipe that no one writes blocks its open; SIGINT then stops the run as an interrupt
// (status 130, "interrupted" in the message and the report), not as a failed open.
TEST(CliProcess, InterruptedOpenOfANamedPipeIsAnInterrupt) {
  for (const bool batch : {false, true}) {
    TempDir dir;
    WriteFile(dir.File("a.txt"), kOneUnit);
    ASSERT_EQ(::mkfifo(dir.File("p.txt").c_str(), 0600), 0);
    std::vector<std::string> words = {
        VELMAR_CLI_PATH,  "-s", "EN-US", "-t", "DE", "--report", dir.File("r.json"),
        dir.File("p.txt")};
    if (batch) words.insert(words.end() - 1, dir.File("a.txt"));
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int errFd = ::open(dir.File("err").c_str(), O_WRONLY | O_CREAT, 0600);
      ::dup2(errFd, 2);
      ::execv(VELMAR_CLI_PATH, argv.data());
      ::_exit(127);
    }
    ASSERT_GT(pid, 0);
    AwaitKernelWait(pid, "wait_for_partner");
    int status = 0;
    for (int i = 0; i < 100 && ::waitpid(pid, &status, WNOHANG) == 0; ++i) {
      ::kill(pid, SIGINT);  // again and again, should the first come before the open
      const struct timespec pause { 0, 50000000 };
      ::nanosleep(&pause, nullptr);
    }
    ASSERT_TRUE(WIFEXITED(status)) << batch;
    EXPECT_EQ(WEXITSTATUS(status), kExitInterrupted) << batch;
    const std::string err = ReadFile(dir.File("err"));
    EXPECT_NE(err.find("velmar2tmx-cli: interrupted; '" + dir.File("p.tmx") + "' was not written"),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("Interrupted system call"), std::string::npos) << err;
    const nlohmann::json report = nlohmann::json::parse(ReadFile(dir.File("r.json")));
    ASSERT_EQ(report["files"].size(), batch ? 2u : 1u);
    EXPECT_EQ(report["files"].back()["outcome"], "interrupted");
    EXPECT_EQ(report["files"].back().count("error"), 0u);
  }
}

TEST(CliProcess, HangupIgnoredAtStartStaysIgnored) {
  TempDir dir;
  EXPECT_EQ(StatusAfterSignal(dir, SIGHUP, true), kExitConverted);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"tm.tmx", "tm.txt"}));
  EXPECT_VALID_TMX(dir.File("tm.tmx"));
}

}  // namespace

// SPDX-License-Identifier: MIT
// The command line's contract: arguments, output paths, messages and exit statuses.
#include <gtest/gtest.h>

#include <string>

#include "cli/command_line.h"
#include "cli/options.h"
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
}

TEST(Cli, UsageErrors) {
  std::string out, err;
  EXPECT_EQ(RunCli({}, out, err), kExitUsage);
  EXPECT_NE(err.find("no TXT file given"), std::string::npos);
  EXPECT_EQ(RunCli({"--bogus", "x.txt"}, out, err), kExitUsage);
  EXPECT_NE(err.find("unknown option '--bogus'"), std::string::npos);
  EXPECT_EQ(RunCli({"-s"}, out, err), kExitUsage);
  EXPECT_EQ(RunCli({"a.txt", "b.txt"}, out, err), kExitUsage);
  EXPECT_EQ(RunCli({"--source-codepage", "abc", "a.txt"}, out, err), kExitUsage);
  EXPECT_EQ(RunCli({"--target-codepage", "4242", "-s", "EN-US", "-t", "DE", "a.txt"}, out, err),
            kExitUsage);
  EXPECT_NE(err.find("4242"), std::string::npos);
  EXPECT_TRUE(out.empty());
}

TEST(Cli, HelpAndVersion) {
  std::string out, err;
  EXPECT_EQ(RunCli({"--help"}, out, err), kExitConverted);
  EXPECT_NE(out.find("Usage: velmar2tmx-cli"), std::string::npos);
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
            "is now secure.\n");
  EXPECT_TRUE(err.empty());
  EXPECT_VALID_TMX(dir.File("tm.tmx"));
}

TEST(Cli, NothingWrittenIsStatusOne) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "FR", "-o", dir.File("x.tmx"), dir.File("tm.txt")}, out,
                   err),
            kExitNothing);
  EXPECT_EQ(out.rfind("No segments were exported to the TMX file.", 0), 0u);
  EXPECT_VALID_TMX(dir.File("x.tmx"));
}

TEST(Cli, FileProblemsAreStatusThreeWithNothingOnStdout) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", dir.File("missing.txt")}, out, err), kExitFile);
  EXPECT_TRUE(out.empty());
  EXPECT_NE(err.find(dir.File("missing.txt")), std::string::npos);
  EXPECT_NE(err.find("No such file or directory"), std::string::npos);

  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", "-o", dir.File("tm.txt"), dir.File("tm.txt")}, out,
                   err),
            kExitFile);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(ReadFile(dir.File("tm.txt")), kOneUnit);

  EXPECT_EQ(RunCli({"-s", "EN-US", "-t", "DE", "-o", dir.File("none/x.tmx"), dir.File("tm.txt")},
                   out, err),
            kExitFile);
  EXPECT_NE(err.find("cannot create"), std::string::npos);
  EXPECT_TRUE(out.empty());
}

TEST(Cli, Utf16Output) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), kOneUnit);
  std::string out, err;
  EXPECT_EQ(RunCli({"--utf16", "-s", "EN-US", "-t", "DE", dir.File("tm.txt")}, out, err),
            kExitConverted);
  EXPECT_EQ(ReadFile(dir.File("tm.tmx")).substr(0, 4), std::string("\xFF\xFE<\0", 4));
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

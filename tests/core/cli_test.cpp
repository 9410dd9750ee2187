// SPDX-License-Identifier: MIT
// The command line's contract: arguments, output paths, messages and exit statuses.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>

#include <string>

#include "cli/command_line.h"
#include "cli/options.h"
#include "engine/tmx_path.h"
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
  EXPECT_FALSE(testutil::FileExists(dir.File("x.tmx")));
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

namespace {

TEST(CliProcess, InterruptLeavesNoFile) {
  TempDir dir;
  const std::string fifo = dir.File("tm.txt");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const int devnull = ::open("/dev/null", O_WRONLY);
    ::dup2(devnull, 1);
    ::dup2(devnull, 2);
    ::execl(VELMAR_CLI_PATH, VELMAR_CLI_PATH, "-s", "EN-US", "-t", "DE", "-o",
            dir.File("tm.tmx").c_str(), fifo.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // The converter blocks reading the pipe until the signal has arrived, so it must see it.
  // Opening the pipe for writing succeeds once the converter has opened it for reading.
  int fd = -1;
  for (int tries = 0; fd < 0 && tries < 20000; ++tries) {
    fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) break;
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, WNOHANG), 0) << "the converter ended before reading";
    const struct timespec pause {0, 1000000};
    ::nanosleep(&pause, nullptr);
  }
  ASSERT_GE(fd, 0);
  ::fcntl(fd, F_SETFL, 0);
  const std::string units = std::string(kOneUnit) + kOneUnit + kOneUnit;
  ASSERT_EQ(::write(fd, units.data(), units.size()), static_cast<ssize_t>(units.size()));
  ::kill(pid, SIGTERM);
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
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kExitInterrupted);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"tm.txt"});
}

}  // namespace

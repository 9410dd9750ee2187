// SPDX-License-Identifier: MIT
#include "tests/core/tmx_test_util.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/command_line.h"

namespace fs = std::filesystem;

namespace testutil {

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "velmar-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(m_path, ec);
}

std::vector<std::string> TempDir::Entries() const {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(m_path)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) ADD_FAILURE() << "cannot write " << path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::vector<std::string> TmxLines(const std::string& path) {
  std::string bytes = ReadFile(path);
  std::vector<std::string> lines;
  if (bytes.rfind("\xEF\xBB\xBF", 0) != 0) {
    ADD_FAILURE() << path << " does not begin with the UTF-8 byte-order mark";
    return lines;
  }
  bytes.erase(0, 3);
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << path << ": last line does not end with CR LF";
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

namespace {

int RunShell(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'')
      q += "'\\''";
    else
      q += c;
  }
  return q + "'";
}

std::string ReadAll(FILE* f) {
  std::string s;
  std::rewind(f);
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) s.append(buffer, n);
  return s;
}

}  // namespace

::testing::AssertionResult IsValidTmx(const std::string& path) {
  // Without the DTD or xmllint the check fails: it never weakens to well-formedness.
  const std::string dtd = VELMAR_DTD_PATH;
  if (!FileExists(dtd)) {
    return ::testing::AssertionFailure() << "the TMX 1.4 DTD " << dtd << " is missing";
  }
  std::string output;
  if (RunShell("xmllint --noout --nonet " + Quote(path), output) != 0) {
    std::string where;
    if (RunShell("command -v xmllint", where) != 0) {
      return ::testing::AssertionFailure()
             << "xmllint (Debian package libxml2-utils) is missing: cannot check " << path;
    }
    return ::testing::AssertionFailure() << path << " is not well-formed XML:\n" << output;
  }
  if (RunShell("xmllint --noout --nonet --dtdvalid " + Quote(dtd) + " " + Quote(path), output) !=
      0) {
    return ::testing::AssertionFailure() << path << " is not valid against the TMX DTD:\n"
                                         << output;
  }
  return ::testing::AssertionSuccess();
}

int RunCli(const std::vector<std::string>& args, std::string& out, std::string& err) {
  std::vector<std::string> storage;
  storage.push_back("velmar2tmx-cli");
  storage.insert(storage.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : storage) argv.push_back(s.data());
  argv.push_back(nullptr);
  FILE* o = std::tmpfile();
  FILE* e = std::tmpfile();
  const int status = RunCommandLine(static_cast<int>(storage.size()), argv.data(), o, e);
  std::fflush(o);
  std::fflush(e);
  out = ReadAll(o);
  err = ReadAll(e);
  std::fclose(o);
  std::fclose(e);
  return status;
}

int RunCliProcess(const std::string& arguments, std::string& out, std::string& err) {
  TempDir dir;
  const std::string outFile = dir.File("out"), errFile = dir.File("err");
  const std::string command = std::string(VELMAR_CLI_PATH) + " " + arguments + " </dev/null >" +
                              Quote(outFile) + " 2>" + Quote(errFile);
  const int status = std::system(command.c_str());
  out = ReadFile(outFile);
  err = ReadFile(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ExportResult ExportPair(CTmxExporter& exporter, const std::string& txtPath,
                        const std::string& tmxPath, const std::string& source, int sourceCodePage,
                        const std::string& target, int targetCodePage, ProgressReporter* progress,
                        ProgressReporter* status, int utf16Output) {
  ExportRequest request;
  request.txtPath = txtPath;
  request.tmxPath = tmxPath;
  request.sourceCode = source;
  request.sourceCodePage = sourceCodePage;
  request.targetCode = target;
  request.targetCodePage = targetCodePage;
  request.utf16Output = utf16Output != 0;
  return exporter.Export(request, progress ? progress : status);
}

}  // namespace testutil

// SPDX-License-Identifier: MIT
// EngineError: why an engine operation failed, carried in the operation's result; Describe: the
// words the user is told about it, made here for every front end.
#pragma once

#include <functional>
#include <string>

struct EngineError {
  enum class Kind {
    None,
    OpenInput,     // the TXT file cannot be opened (or does not exist)
    ReadInput,     // reading the TXT file failed
    CreateOutput,  // the TMX file cannot be created
    WriteOutput,   // writing the TMX file failed (disk full ...)
    SameFile,      // TXT and TMX name the same file
    OutputExists,  // the TMX file exists and the request forbids replacing it
    Abandoned,     // the run was asked to stop
    OutOfMemory,   // memory (or a thread) could not be had; reason "out of memory"
  };
  // The work that failed: a conversion, or an analysis (which only reads the TXT file).
  enum class Work { Conversion, Analysis };

  Kind kind = Kind::None;
  std::string path;    // the file concerned
  std::string reason;  // system text of the failure, e.g. "No space left on device"
  int number = 0;      // the errno value behind reason, 0 when none
  Work work = Work::Conversion;

  // Records a failure: its kind, the file and the system text of errno value number (none for 0).
  void Set(Kind failure, const std::string& file, int number);
  bool Failed() const { return kind != Kind::None; }
};

// An EngineError in words. The command line shows sentence after its name, the report files
// summary; the desktop tool and the web page put path and reason into sentences of their own
// (the desktop tool's are translated).
struct ErrorDescription {
  // "cannot open 'a.txt': No such file or directory", "out of memory reading 'a.txt'".
  std::string sentence;
  // "a.txt: No such file or directory"; "a.txt: failed" when the system gave no reason.
  std::string summary;
  // What could not be done to the file: "open", "read", "create", "write"; empty for the other
  // kinds.
  const char* verb = "";
  std::string path;    // the file, as showPath gives it
  std::string reason;  // as the error holds it (empty when the system gave none)
};

// How a description names a file (the command line quotes it); the path itself when empty.
using PathShower = std::function<std::string(const std::string& path)>;

ErrorDescription Describe(const EngineError& error, const PathShower& showPath = {});

// SPDX-License-Identifier: MIT
#include "engine/engine_error.h"

#include <cstring>

void EngineError::Set(Kind failure, const std::string& file, int errorNumber) {
  kind = failure;
  path = file;
  number = errorNumber;
  reason = failure == Kind::OutOfMemory ? "out of memory"
           : errorNumber                ? std::strerror(errorNumber)
                                        : std::string();
}

namespace {

const char* VerbOf(EngineError::Kind kind) {
  switch (kind) {
    case EngineError::Kind::OpenInput:
      return "open";
    case EngineError::Kind::ReadInput:
      return "read";
    case EngineError::Kind::CreateOutput:
      return "create";
    case EngineError::Kind::WriteOutput:
      return "write";
    default:
      return "";
  }
}

std::string SentenceOf(const EngineError& error, const ErrorDescription& d) {
  switch (error.kind) {
    case EngineError::Kind::OpenInput:
    case EngineError::Kind::ReadInput:
    case EngineError::Kind::CreateOutput:
    case EngineError::Kind::WriteOutput:
      return std::string("cannot ") + d.verb + " " + d.path + ": " + d.reason;
    case EngineError::Kind::SameFile:
      return d.path + " is the TXT file itself; choose another TMX file";
    case EngineError::Kind::OutputExists:
      return d.path + " exists; not replaced (--no-clobber)";
    case EngineError::Kind::OutOfMemory:
      return (error.work == EngineError::Work::Analysis ? "out of memory reading "
                                                        : "out of memory converting ") +
             d.path;
    case EngineError::Kind::Abandoned:
    case EngineError::Kind::None:
      break;
  }
  return "the conversion failed";
}

}  // namespace

ErrorDescription Describe(const EngineError& error, const PathShower& showPath) {
  ErrorDescription d;
  d.verb = VerbOf(error.kind);
  d.path = showPath ? showPath(error.path) : error.path;
  d.reason = error.reason;
  d.sentence = SentenceOf(error, d);
  d.summary = d.path + ": " + (d.reason.empty() ? std::string("failed") : d.reason);
  return d;
}

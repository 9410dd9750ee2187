// SPDX-License-Identifier: MIT
// How an export ended, in the words the report (its "outcome") and the command line's list of
// files use.
#pragma once

#include "engine/export_request.h"

constexpr const char* OutcomeName(ExportResult::Stop stop) {
  switch (stop) {
    case ExportResult::Stop::Done:
      return "written";
    case ExportResult::Stop::NothingWritten:
      return "nothing written";
    case ExportResult::Stop::Abandoned:
      return "interrupted";
    case ExportResult::Stop::Failed:
      break;
  }
  return "failed";
}

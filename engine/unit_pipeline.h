// SPDX-License-Identifier: MIT
// UnitPipeline: the units of a file converted on several threads and written in the order of the
// file. The calling thread reads units into batches; worker threads, each with a converter of its
// own, turn a batch's units into the bytes of their <tu> elements; a writer thread writes the
// converted batches in order. A fixed number of batches circulates, so memory does not grow with
// the file.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/export_report.h"
#include "engine/export_request.h"
#include "engine/txt_unit.h"

class TxtReader;
class TmxWriter;

struct UnitBatch {
  size_t index = 0;
  std::vector<TxtUnit> units;  // the first count are in use; the others keep their buffers
  size_t count = 0;
  bool unicode = false;  // the file's text is Unicode
  std::string bytes;     // the converted units, encoded as the document
  int64_t written = 0;
  SkipCounts skipped;
  ExportReport findings;                  // with a report: what the batch's units gave
  std::vector<LanguageUse> languagesMet;  // languages first met by its converter in this batch
};

class UnitPipeline {
 public:
  // threads workers convert for request; convertProbe, when set, is called by a worker before
  // each batch (a test seam). Throws std::system_error when a thread cannot be started.
  UnitPipeline(const ExportRequest& request, int threads, std::function<void()> convertProbe = {});
  ~UnitPipeline();
  UnitPipeline(const UnitPipeline&) = delete;
  UnitPipeline& operator=(const UnitPipeline&) = delete;

  // Reads every unit of reader, converts them and hands the bytes to sink in order. Counts go
  // to result, findings and languages met to report (when given). Stops when the reader does
  // or the sink fails (false). What a thread fails with (std::bad_alloc ...) is thrown here once
  // every thread has ended.
  bool Run(TxtReader& reader, TmxWriter& writer, ExportResult& result, ExportReport* report);

 private:
  class Shared;
  std::unique_ptr<Shared> m_shared;
};

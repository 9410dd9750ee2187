// SPDX-License-Identifier: MIT
// UnitPipeline: the one conversion loop. The calling thread reads the units of a file into
// batches; each batch is converted into the bytes of its <tu> elements and written in the order
// of the file. The batches live in a ring of slots: batch n in slot n modulo the ring's size, each
// slot with its state (free, filled, converted). The reader fills the slot of the next batch once
// it is free, the converters take the filled batches in file order, and the writer waits on the
// slot of the next batch in order, writes it and frees it. A fixed number of batches circulates,
// so memory does not grow with the file.
//
// With one thread the calling thread converts each batch as soon as it is read, straight into
// the document (a ring of one slot, no other thread); with more, worker threads convert into the
// batches' bytes, each with a converter of its own, and a writer thread writes them, so that
// reading, converting and writing overlap.
#pragma once

#include <functional>
#include <memory>

#include "engine/export_report.h"
#include "engine/export_request.h"

class TxtReader;
class TmxWriter;

class UnitPipeline {
 public:
  // Converts for request on threads threads (the calling thread alone when 1); convertProbe,
  // when set, is called on the converting thread before each batch (a test seam). Throws
  // std::system_error when a thread cannot be started.
  UnitPipeline(const ExportRequest& request, int threads, std::function<void()> convertProbe = {});
  ~UnitPipeline();
  UnitPipeline(const UnitPipeline&) = delete;
  UnitPipeline& operator=(const UnitPipeline&) = delete;

  // Reads every unit of reader, converts them and writes their bytes to writer in order. Counts
  // go to result and findings and languages met to report (when given) as each batch is
  // written, so that a run cut short has those of the batches written so far. Stops when the
  // reader does or writing fails (false). What any thread fails with (std::bad_alloc ...) is
  // thrown here once every thread has ended.
  bool Run(TxtReader& reader, TmxWriter& writer, ExportResult& result, ExportReport* report);

 private:
  class Ring;
  std::unique_ptr<Ring> m_ring;
};

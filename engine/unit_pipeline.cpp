// SPDX-License-Identifier: MIT
#include "engine/unit_pipeline.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/tmx_writer.h"
#include "engine/txt_reader.h"
#include "engine/txt_unit.h"
#include "engine/unit_converter.h"
#include "text/code_page.h"
#include "text/tuning.h"
#include "text/xml_escape.h"

namespace {

// A batch is handed on when it holds this many units or this many bytes of segments.
constexpr size_t kBatchUnits = tuning::kBatchUnits;
constexpr size_t kBatchBytes = tuning::kBatchBytes;
// The bytes of a batch kept for the next one; more (a huge segment's) are given back.
constexpr size_t kKeptBatchBytes = tuning::kKeptTextUnits;

size_t UnitBytes(const TxtUnit& unit) {
  size_t bytes = 0;
  for (size_t i = 0; i < unit.segmentCount; ++i) bytes += unit.segments[i].text.size();
  return bytes;
}

// Where a converter's writer puts a batch's <tu> elements: into the batch's bytes, or straight
// through to the document when the thread that converts the batch is the one that writes it.
class BatchSink final : public ByteSink {
 public:
  void Target(std::string& bytes, TmxWriter* through) {
    m_bytes = &bytes;
    m_through = through;
  }
  bool Write(const char* data, size_t size) override {
    if (m_through) return m_through->WriteEncoded({data, size});
    m_bytes->append(data, size);
    return true;
  }
  bool Flush() override { return true; }
  int Error() const override { return m_through ? m_through->Error() : 0; }

 private:
  std::string* m_bytes = nullptr;
  TmxWriter* m_through = nullptr;
};

// One slot of the ring.
struct UnitBatch {
  enum class State { kFree, kFilled, kConverted };
  State state = State::kFree;
  size_t number = 0;           // the batch's place in the file
  std::vector<TxtUnit> units;  // the first count are in use; the others keep their buffers
  size_t count = 0;
  bool unicode = false;  // the file's text is Unicode
  std::string bytes;     // the converted units, encoded as the document
  int64_t written = 0;
  SkipCounts skipped;
  ExportReport findings;                  // with a report: what the batch's units gave
  std::vector<LanguageUse> languagesMet;  // languages first met by its converter in this batch
};

// A converter of units and the writer of their <tu> elements, set up once for every batch it
// converts. Each converting thread has one.
class BatchConverter {
 public:
  BatchConverter(const ExportRequest& request, std::u16string_view sourceAttribute)
      : m_converter(request), m_report(request.report != nullptr) {
    auto sink = std::make_unique<BatchSink>();
    m_sink = sink.get();
    m_out.Open(std::move(sink), request.utf16Output, sourceAttribute, false);
  }

  // Converts the units of batch into its bytes, or straight into through when given.
  void Convert(UnitBatch& batch, TmxWriter* through) {
    batch.bytes.clear();
    batch.written = 0;
    batch.skipped = {};
    batch.languagesMet.clear();
    ClearFindings(batch.findings);
    ExportReport* findings = m_report ? &batch.findings : nullptr;
    const size_t known = m_converter.LanguagesMet().size();
    m_converter.SetUnicodeText(batch.unicode);
    m_sink->Target(batch.bytes, through);
    for (size_t i = 0; i < batch.count; ++i) {
      if (m_converter.Convert(batch.units[i], m_out, batch.skipped, findings)) ++batch.written;
    }
    (void)m_out.Flush();  // a failure to write through is the document writer's
    const auto& met = m_converter.LanguagesMet();
    for (size_t i = known; i < met.size(); ++i) {
      batch.languagesMet.push_back({met[i]->code, met[i]->codePage});
    }
  }

 private:
  UnitConverter m_converter;
  TmxWriter m_out;
  BatchSink* m_sink = nullptr;  // m_out's
  bool m_report;
};

}  // namespace

// The ring and what the threads share. Batch n is in slot n % m_slots.size(); the reader fills
// batches in order, the converters take them in order (m_nextToConvert), the writer writes them
// in order. Each thread waits on the state of one slot, or on the count of filled batches.
class UnitPipeline::Ring {
 public:
  Ring(const ExportRequest& request, int threads, std::function<void()> convertProbe);
  ~Ring() { Close(); }

  bool Run(TxtReader& reader, TmxWriter& writer, ExportResult& result, ExportReport* report);

 private:
  UnitBatch& Slot(size_t number) { return m_slots[number % m_slots.size()]; }
  void StartWorkers(size_t workers);
  void Close();
  // Records what a thread failed with (the first failure counts) and ends the run: nothing more
  // is read, converted or written. Run hands the failure on to its caller.
  void Fail(std::exception_ptr failure);
  // The calling thread: reads the batches until the file, a stop or the writing ends them.
  void ReadAll(TxtReader& reader);
  // The slot of batch number once it is free; null when the run is ending (a failure, or
  // writing failed: nothing more is read then).
  UnitBatch* TakeFree(size_t number);
  // Reads the next batch; false when the file holds no more units.
  bool Fill(TxtReader& reader, UnitBatch& batch);
  // Hands a filled batch on: converted and written at once on one thread, to the workers
  // otherwise.
  void Issue(UnitBatch& batch, size_t number);
  void Convert(BatchConverter& converter, UnitBatch& batch);
  // A worker: converts the filled batches in the order of the file until the run ends.
  void Work(BatchConverter& converter);
  // The writer thread: writes the converted batches in the order of the file until the last one
  // filled has been written.
  void WriteAll();
  // Writes a converted batch, counts it and frees its slot.
  void Write(UnitBatch& batch);
  void Merge(const UnitBatch& batch);

  std::function<void()> m_convertProbe;
  std::u16string m_sourceAttribute;  // the source code, escaped for srclang
  std::vector<UnitBatch> m_slots;
  std::vector<std::unique_ptr<BatchConverter>> m_converters;  // one per converting thread
  std::vector<std::thread> m_workers;                         // none with one thread
  TmxWriter* m_writer = nullptr;                              // while Run runs
  ExportResult* m_result = nullptr;
  ExportReport* m_report = nullptr;
  std::mutex m_mutex;  // guards the slots' states and everything below
  std::condition_variable m_filled, m_converted, m_freed;
  size_t m_filledCount = 0;  // batches filled so far
  size_t m_nextToConvert = 0;
  bool m_allFilled = false;
  bool m_writeFailed = false;
  bool m_closed = false;
  std::exception_ptr m_failure;  // what a thread failed with
};

UnitPipeline::Ring::Ring(const ExportRequest& request, int threads,
                         std::function<void()> convertProbe)
    : m_convertProbe(std::move(convertProbe)) {
  AppendXmlAttribute(m_sourceAttribute, Decode(kCodePageAnsi, request.sourceCode));
  const size_t converters = threads > 1 ? static_cast<size_t>(threads) : 1;
  // Room for every worker to convert a batch while as many wait to be written and one is read.
  m_slots.resize(converters > 1 ? 2 * converters + 2 : 1);
  for (size_t i = 0; i < converters; ++i) {
    m_converters.push_back(std::make_unique<BatchConverter>(request, m_sourceAttribute));
  }
  if (converters > 1) StartWorkers(converters);
}

void UnitPipeline::Ring::StartWorkers(size_t workers) {
  try {
    for (size_t i = 0; i < workers; ++i) {
      BatchConverter& converter = *m_converters[i];
      m_workers.emplace_back([this, &converter] { Work(converter); });
    }
  } catch (...) {
    Close();  // the workers that started end before the failure goes on
    throw;
  }
}

void UnitPipeline::Ring::Close() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
  }
  m_filled.notify_all();
  for (std::thread& worker : m_workers) worker.join();
  m_workers.clear();
}

void UnitPipeline::Ring::Fail(std::exception_ptr failure) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_failure) m_failure = std::move(failure);
  }
  m_filled.notify_all();
  m_converted.notify_all();
  m_freed.notify_all();
}

bool UnitPipeline::Ring::Run(TxtReader& reader, TmxWriter& writer, ExportResult& result,
                             ExportReport* report) {
  m_writer = &writer;
  m_result = &result;
  m_report = report;
  std::thread writerThread;
  if (!m_workers.empty()) {
    writerThread = std::thread([this] {
      try {
        WriteAll();
      } catch (...) {
        Fail(std::current_exception());
      }
    });
  }
  try {
    ReadAll(reader);
  } catch (...) {
    Fail(std::current_exception());
  }
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_allFilled = true;
  }
  m_converted.notify_all();
  if (writerThread.joinable()) writerThread.join();
  Close();
  // The failure of any thread is the run's: the caller's thread hands it on.
  if (m_failure) std::rethrow_exception(m_failure);
  return !m_writeFailed;
}

void UnitPipeline::Ring::ReadAll(TxtReader& reader) {
  for (size_t number = 0;; ++number) {
    UnitBatch* batch = TakeFree(number);
    if (!batch || !Fill(reader, *batch)) return;
    Issue(*batch, number);
  }
}

UnitBatch* UnitPipeline::Ring::TakeFree(size_t number) {
  UnitBatch& batch = Slot(number);
  std::unique_lock<std::mutex> lock(m_mutex);
  m_freed.wait(
      lock, [&] { return m_writeFailed || m_failure || batch.state == UnitBatch::State::kFree; });
  if (m_writeFailed || m_failure) return nullptr;
  batch.number = number;
  return &batch;
}

bool UnitPipeline::Ring::Fill(TxtReader& reader, UnitBatch& batch) {
  batch.count = 0;
  size_t bytes = 0;
  while (batch.count < kBatchUnits && bytes < kBatchBytes) {
    if (batch.count == batch.units.size()) batch.units.emplace_back();
    TxtUnit& unit = batch.units[batch.count];
    if (!reader.Next(unit)) break;
    ++batch.count;
    bytes += UnitBytes(unit);
  }
  batch.unicode = reader.Form() != InputForm::kBytes;
  return batch.count > 0;
}

void UnitPipeline::Ring::Issue(UnitBatch& batch, size_t number) {
  if (m_workers.empty()) {
    Convert(*m_converters.front(), batch);
    Write(batch);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    batch.state = UnitBatch::State::kFilled;
    m_filledCount = number + 1;
  }
  m_filled.notify_one();
}

void UnitPipeline::Ring::Convert(BatchConverter& converter, UnitBatch& batch) {
  if (m_convertProbe) m_convertProbe();
  // On one thread the batch goes to the document as it is converted: no copy, and a huge
  // segment's content is not held twice.
  converter.Convert(batch, m_workers.empty() ? m_writer : nullptr);
}

void UnitPipeline::Ring::Work(BatchConverter& converter) {
  try {
    for (;;) {
      UnitBatch* batch = nullptr;
      {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_filled.wait(lock,
                      [this] { return m_closed || m_failure || m_nextToConvert < m_filledCount; });
        if (m_failure || m_nextToConvert == m_filledCount) return;
        batch = &Slot(m_nextToConvert++);
      }
      Convert(converter, *batch);
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        batch->state = UnitBatch::State::kConverted;
      }
      m_converted.notify_all();
    }
  } catch (...) {
    // Out of memory, say: no thread may end the program; the run fails instead.
    Fail(std::current_exception());
  }
}

void UnitPipeline::Ring::WriteAll() {
  for (size_t number = 0;; ++number) {
    UnitBatch& batch = Slot(number);
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      const auto converted = [&] {
        return batch.state == UnitBatch::State::kConverted && batch.number == number;
      };
      m_converted.wait(lock, [&] {
        return m_failure || converted() || (m_allFilled && number == m_filledCount);
      });
      if (m_failure || !converted()) return;
    }
    Write(batch);
  }
}

void UnitPipeline::Ring::Write(UnitBatch& batch) {
  // After a failed write the batches still converting are counted, not written.
  if (!m_writer->Failed()) (void)m_writer->WriteEncoded(batch.bytes);
  const bool ok = !m_writer->Failed();
  Merge(batch);
  if (batch.bytes.capacity() > kKeptBatchBytes) std::string().swap(batch.bytes);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    batch.state = UnitBatch::State::kFree;
    m_writeFailed = m_writeFailed || !ok;
  }
  m_freed.notify_one();
}

void UnitPipeline::Ring::Merge(const UnitBatch& batch) {
  ExportResult& result = *m_result;
  result.unitsRead += static_cast<int64_t>(batch.count);
  result.unitsWritten += static_cast<int>(batch.written);
  result.skipped.Add(batch.skipped);
  if (!m_report) return;
  AppendFindings(*m_report, batch.findings);
  for (const LanguageUse& language : batch.languagesMet) {
    bool known = false;
    for (const LanguageUse& other : m_report->others) known = known || other.code == language.code;
    if (!known) m_report->others.push_back(language);
  }
}

UnitPipeline::UnitPipeline(const ExportRequest& request, int threads,
                           std::function<void()> convertProbe)
    : m_ring(std::make_unique<Ring>(request, threads, std::move(convertProbe))) {}

UnitPipeline::~UnitPipeline() = default;

bool UnitPipeline::Run(TxtReader& reader, TmxWriter& writer, ExportResult& result,
                       ExportReport* report) {
  return m_ring->Run(reader, writer, result, report);
}

// SPDX-License-Identifier: MIT
#include "engine/unit_pipeline.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

#include "engine/tmx_writer.h"
#include "engine/txt_reader.h"
#include "engine/unit_converter.h"
#include "text/code_page.h"
#include "text/tuning.h"
#include "text/xml_escape.h"

namespace {

// A batch is handed on when it holds this many units or this many bytes of segments.
constexpr size_t kBatchUnits = tuning::kBatchUnits;
constexpr size_t kBatchBytes = tuning::kBatchBytes;

size_t UnitBytes(const TxtUnit& unit) {
  size_t bytes = 0;
  for (size_t i = 0; i < unit.segmentCount; ++i) bytes += unit.segments[i].text.size();
  return bytes;
}

}  // namespace

// What the calling thread and the workers share: batches to convert, converted batches by index.
class UnitPipeline::Shared {
 public:
  Shared(const ExportRequest& request, int threads, std::function<void()> convertProbe)
      : m_request(request), m_convertProbe(std::move(convertProbe)) {
    AppendXmlAttribute(m_sourceAttribute, Decode(kCodePageAnsi, request.sourceCode));
    const size_t batches = 2 * static_cast<size_t>(threads) + 2;
    for (size_t i = 0; i < batches; ++i) {
      m_batches.push_back(std::make_unique<UnitBatch>());
      m_free.push_back(m_batches.back().get());
    }
    try {
      for (int i = 0; i < threads; ++i) m_workers.emplace_back([this] { Work(); });
    } catch (...) {
      Close();  // the workers that started end before the failure goes on
      throw;
    }
  }

  ~Shared() { Close(); }

  bool Run(TxtReader& reader, TmxWriter& writer, ExportResult& result, ExportReport* report);

 private:
  void Close();
  // Records what a thread failed with (the first failure counts) and ends the run: nothing more
  // is read, converted or written. Run hands the failure on to its caller.
  void Fail(std::exception_ptr failure);
  void Work();
  void Convert(UnitConverter& converter, TmxWriter& out, UnitBatch& batch);
  // Reads the next batch; false when the file holds no more units.
  bool Fill(TxtReader& reader, UnitBatch& batch);
  // A batch to fill, once one is free; null when writing failed (nothing more is read then).
  UnitBatch* TakeFree();
  void Issue(UnitBatch* batch);
  // The writer thread: writes the converted batches in the order of the file until the last one
  // issued has been written.
  void WriteInOrder(TmxWriter& writer, ExportResult& result, ExportReport* report);
  void Merge(const UnitBatch& batch, ExportResult& result, ExportReport* report);

  const ExportRequest& m_request;
  std::function<void()> m_convertProbe;
  std::u16string m_sourceAttribute;  // the source code, escaped for srclang
  std::vector<std::unique_ptr<UnitBatch>> m_batches;
  std::vector<std::thread> m_workers;
  std::mutex m_mutex;  // guards everything below
  std::condition_variable m_todoChanged, m_doneChanged, m_freeChanged;
  std::deque<UnitBatch*> m_todo;
  std::map<size_t, UnitBatch*> m_done;
  std::vector<UnitBatch*> m_free;
  size_t m_issued = 0;
  bool m_allIssued = false;
  bool m_writeFailed = false;
  bool m_closed = false;
  std::exception_ptr m_failure;  // what a thread failed with
};

void UnitPipeline::Shared::Close() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
  }
  m_todoChanged.notify_all();
  for (std::thread& worker : m_workers) worker.join();
  m_workers.clear();
}

void UnitPipeline::Shared::Fail(std::exception_ptr failure) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_failure) m_failure = std::move(failure);
  }
  m_todoChanged.notify_all();
  m_doneChanged.notify_all();
  m_freeChanged.notify_all();
}

void UnitPipeline::Shared::Work() {
  try {
    UnitConverter converter(m_request);
    TmxWriter out;
    for (;;) {
      UnitBatch* batch = nullptr;
      {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_todoChanged.wait(lock, [this] { return m_closed || m_failure || !m_todo.empty(); });
        if (m_failure || m_todo.empty()) return;
        batch = m_todo.front();
        m_todo.pop_front();
      }
      Convert(converter, out, *batch);
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_done.emplace(batch->index, batch);
      }
      m_doneChanged.notify_all();
    }
  } catch (...) {
    // Out of memory, say: no thread may end the program; the run fails instead.
    Fail(std::current_exception());
  }
}

void UnitPipeline::Shared::Convert(UnitConverter& converter, TmxWriter& out, UnitBatch& batch) {
  if (m_convertProbe) m_convertProbe();
  batch.bytes.clear();
  batch.written = 0;
  batch.skipped = {};
  batch.languagesMet.clear();
  ClearFindings(batch.findings);
  ExportReport* findings = m_request.report ? &batch.findings : nullptr;
  const size_t known = converter.LanguagesMet().size();
  converter.SetUnicodeText(batch.unicode);
  out.Open(std::make_unique<StringSink>(batch.bytes), m_request.utf16Output, m_sourceAttribute,
           false);
  for (size_t i = 0; i < batch.count; ++i) {
    if (converter.Convert(batch.units[i], out, batch.skipped, findings)) ++batch.written;
  }
  (void)out.Flush();
  out.Close();
  const auto& met = converter.LanguagesMet();
  for (size_t i = known; i < met.size(); ++i) {
    batch.languagesMet.push_back({met[i]->code, met[i]->codePage});
  }
}

bool UnitPipeline::Shared::Fill(TxtReader& reader, UnitBatch& batch) {
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

UnitBatch* UnitPipeline::Shared::TakeFree() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_freeChanged.wait(lock, [this] { return m_writeFailed || m_failure || !m_free.empty(); });
  if (m_writeFailed || m_failure) return nullptr;
  UnitBatch* batch = m_free.back();
  m_free.pop_back();
  return batch;
}

void UnitPipeline::Shared::Issue(UnitBatch* batch) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    batch->index = m_issued++;
    m_todo.push_back(batch);
  }
  m_todoChanged.notify_one();
}

void UnitPipeline::Shared::WriteInOrder(TmxWriter& writer, ExportResult& result,
                                        ExportReport* report) {
  for (size_t next = 0;; ++next) {
    UnitBatch* batch = nullptr;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_doneChanged.wait(lock, [&] {
        return m_failure || m_done.count(next) != 0 || (m_allIssued && next == m_issued);
      });
      const auto found = m_done.find(next);
      if (m_failure || found == m_done.end()) return;
      batch = found->second;
      m_done.erase(found);
    }
    // After a failed write the batches still converting are counted, not written.
    const bool ok = writer.Failed() || writer.WriteEncoded(batch->bytes);
    Merge(*batch, result, report);
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_free.push_back(batch);
      m_writeFailed = m_writeFailed || !ok;
    }
    m_freeChanged.notify_one();
  }
}

void UnitPipeline::Shared::Merge(const UnitBatch& batch, ExportResult& result,
                                 ExportReport* report) {
  result.unitsRead += static_cast<int64_t>(batch.count);
  result.unitsWritten += static_cast<int>(batch.written);
  result.skipped.Add(batch.skipped);
  if (!report) return;
  AppendFindings(*report, batch.findings);
  for (const LanguageUse& language : batch.languagesMet) {
    bool known = false;
    for (const LanguageUse& other : report->others) known = known || other.code == language.code;
    if (!known) report->others.push_back(language);
  }
}

// The calling thread reads, the workers convert, a writer thread writes: reading and writing
// overlap as much as the conversions do.
bool UnitPipeline::Shared::Run(TxtReader& reader, TmxWriter& writer, ExportResult& result,
                               ExportReport* report) {
  std::thread writerThread([&] {
    try {
      WriteInOrder(writer, result, report);
    } catch (...) {
      Fail(std::current_exception());
    }
  });
  try {
    while (UnitBatch* batch = TakeFree()) {
      if (!Fill(reader, *batch)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_free.push_back(batch);
        break;
      }
      Issue(batch);
    }
  } catch (...) {
    Fail(std::current_exception());
  }
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_allIssued = true;
  }
  m_doneChanged.notify_all();
  writerThread.join();
  Close();
  // The failure of any thread is the run's: the caller's thread hands it on.
  if (m_failure) std::rethrow_exception(m_failure);
  return !m_writeFailed;
}

UnitPipeline::UnitPipeline(const ExportRequest& request, int threads,
                           std::function<void()> convertProbe)
    : m_shared(std::make_unique<Shared>(request, threads, std::move(convertProbe))) {}

UnitPipeline::~UnitPipeline() = default;

bool UnitPipeline::Run(TxtReader& reader, TmxWriter& writer, ExportResult& result,
                       ExportReport* report) {
  return m_shared->Run(reader, writer, result, report);
}

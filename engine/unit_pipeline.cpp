// SPDX-License-Identifier: MIT
#include "engine/unit_pipeline.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "engine/tmx_writer.h"
#include "engine/txt_reader.h"
#include "engine/unit_converter.h"
#include "text/code_page.h"
#include "text/xml_escape.h"

namespace {

// A batch is handed on when it holds this many units or this many bytes of segments.
constexpr size_t kBatchUnits = 128;
constexpr size_t kBatchBytes = size_t{1} << 19;

size_t UnitBytes(const TxtUnit& unit) {
  size_t bytes = 0;
  for (size_t i = 0; i < unit.segmentCount; ++i) bytes += unit.segments[i].text.size();
  return bytes;
}

}  // namespace

// What the calling thread and the workers share: batches to convert, converted batches by index.
class UnitPipeline::Shared {
 public:
  Shared(const ExportRequest& request, int threads) : m_request(request) {
    AppendXmlAttribute(m_sourceAttribute, Decode(kCodePageAnsi, request.sourceCode));
    const size_t batches = 2 * static_cast<size_t>(threads) + 2;
    for (size_t i = 0; i < batches; ++i) {
      m_batches.push_back(std::make_unique<UnitBatch>());
      m_free.push_back(m_batches.back().get());
    }
    for (int i = 0; i < threads; ++i) m_workers.emplace_back([this] { Work(); });
  }

  ~Shared() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_closed = true;
    }
    m_todoChanged.notify_all();
    for (std::thread& worker : m_workers) worker.join();
  }

  bool Run(TxtReader& reader, TmxWriter& writer, ExportResult& result, ExportReport* report);

 private:
  void Work();
  void Convert(UnitConverter& converter, TmxWriter& out, UnitBatch& batch);
  // Reads the next batch; false when the file holds no more units.
  bool Fill(TxtReader& reader, UnitBatch& batch);
  UnitBatch* TakeFree(bool& failed, TmxWriter& writer, ExportResult& result, ExportReport* report);
  // Writes converted batches in order: all that are ready, or (wait) at least the next one.
  bool WriteReady(bool wait, TmxWriter& writer, ExportResult& result, ExportReport* report);
  void Merge(const UnitBatch& batch, ExportResult& result, ExportReport* report);

  const ExportRequest& m_request;
  std::u16string m_sourceAttribute;  // the source code, escaped for srclang
  std::vector<std::unique_ptr<UnitBatch>> m_batches;
  std::vector<std::thread> m_workers;
  std::mutex m_mutex;
  std::condition_variable m_todoChanged, m_doneChanged;
  std::deque<UnitBatch*> m_todo;
  std::map<size_t, UnitBatch*> m_done;
  std::vector<UnitBatch*> m_free;  // touched by the calling thread only
  size_t m_nextToWrite = 0;
  bool m_closed = false;
};

void UnitPipeline::Shared::Work() {
  UnitConverter converter(m_request);
  TmxWriter out;
  for (;;) {
    UnitBatch* batch = nullptr;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_todoChanged.wait(lock, [this] { return m_closed || !m_todo.empty(); });
      if (m_todo.empty()) return;
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
}

void UnitPipeline::Shared::Convert(UnitConverter& converter, TmxWriter& out, UnitBatch& batch) {
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

UnitBatch* UnitPipeline::Shared::TakeFree(bool& failed, TmxWriter& writer, ExportResult& result,
                                          ExportReport* report) {
  while (m_free.empty()) {
    if (!WriteReady(true, writer, result, report)) failed = true;
  }
  UnitBatch* batch = m_free.back();
  m_free.pop_back();
  return batch;
}

bool UnitPipeline::Shared::WriteReady(bool wait, TmxWriter& writer, ExportResult& result,
                                      ExportReport* report) {
  bool ok = true;
  for (;;) {
    UnitBatch* batch = nullptr;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      if (wait) {
        m_doneChanged.wait(lock, [this] { return m_done.count(m_nextToWrite) != 0; });
        wait = false;
      }
      const auto next = m_done.find(m_nextToWrite);
      if (next == m_done.end()) return ok;
      batch = next->second;
      m_done.erase(next);
    }
    ++m_nextToWrite;
    if (!writer.Failed() && !writer.WriteEncoded(batch->bytes)) ok = false;
    Merge(*batch, result, report);
    m_free.push_back(batch);
  }
}

void UnitPipeline::Shared::Merge(const UnitBatch& batch, ExportResult& result,
                                 ExportReport* report) {
  result.unitsRead += static_cast<int64_t>(batch.count);
  result.unitsWritten += static_cast<int>(batch.written);
  result.skipped.noSource += batch.skipped.noSource;
  result.skipped.noTarget += batch.skipped.noTarget;
  result.skipped.unresolved += batch.skipped.unresolved;
  if (!report) return;
  AppendFindings(*report, batch.findings);
  for (const LanguageUse& language : batch.languagesMet) {
    bool known = false;
    for (const LanguageUse& other : report->others) known = known || other.code == language.code;
    if (!known) report->others.push_back(language);
  }
}

bool UnitPipeline::Shared::Run(TxtReader& reader, TmxWriter& writer, ExportResult& result,
                               ExportReport* report) {
  bool failed = false;
  size_t issued = 0;
  for (;;) {
    UnitBatch* batch = TakeFree(failed, writer, result, report);
    if (failed || !Fill(reader, *batch)) {
      m_free.push_back(batch);
      break;
    }
    batch->index = issued++;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_todo.push_back(batch);
    }
    m_todoChanged.notify_one();
    if (!WriteReady(false, writer, result, report)) failed = true;
  }
  while (m_nextToWrite < issued) {
    if (!WriteReady(true, writer, result, report)) failed = true;
  }
  return !failed;
}

UnitPipeline::UnitPipeline(const ExportRequest& request, int threads)
    : m_shared(std::make_unique<Shared>(request, threads)) {}

UnitPipeline::~UnitPipeline() = default;

bool UnitPipeline::Run(TxtReader& reader, TmxWriter& writer, ExportResult& result,
                       ExportReport* report) {
  return m_shared->Run(reader, writer, result, report);
}

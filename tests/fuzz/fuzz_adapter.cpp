// SPDX-License-Identifier: MIT
#include "tests/fuzz/fuzz_adapter.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <span>
#include <utility>

#include "engine/byte_sink.h"
#include "engine/tmx_exporter.h"
#include "inline/inline_converter.h"
#include "text/wide_string.h"
#include "text/xml_chars.h"

namespace fuzz {
namespace {

// In memory (/dev/shm) when the machine has it: the target writes a file every run.
std::string MakeWorkFolder() {
  char inMemory[] = "/dev/shm/velmar-fuzz-XXXXXX";
  if (mkdtemp(inMemory)) return std::string(inMemory);
  char name[] = "/tmp/velmar-fuzz-XXXXXX";
  if (!mkdtemp(name)) std::abort();
  return std::string(name);
}

std::string g_workFolder;

void RemoveWorkFolder() {
  for (const char* name : {"/in.txt", "/large.txt", "/large.fifo"}) {
    std::remove((g_workFolder + name).c_str());
  }
  rmdir(g_workFolder.c_str());
}

}  // namespace

// A folder of this process for the TXT file and the (empty) TMX file the export creates, removed
// when the process ends normally.
const std::string& WorkFolder() {
  static const std::string folder = [] {
    g_workFolder = MakeWorkFolder();
    std::atexit(RemoveWorkFolder);
    return g_workFolder;
  }();
  return folder;
}

SegmentPair ConvertSegmentPair(std::string_view source, std::string_view target, int codePage) {
  InlineConverter converter;
  const InlineSegment targetSegment{target, codePage};
  InlineUnit unit;
  unit.source = {source, codePage};
  unit.targets = std::span(&targetSegment, 1);
  unit.findPlain = false;
  const std::span<InlineContent> contents = converter.ConvertUnit(unit);
  SegmentPair pair;
  pair.source = std::move(contents[0].encoded);
  pair.target = std::move(contents[1].encoded);
  return pair;
}

std::string ExportTxtToMemory(std::string_view txt, int codePage) {
  const std::string txtPath = WorkFolder() + "/in.txt";
  {
    std::ofstream file(txtPath, std::ios::binary | std::ios::trunc);
    file.write(txt.data(), static_cast<std::streamsize>(txt.size()));
    if (!file) std::abort();
  }
  return ExportPathToMemory(txtPath, codePage, 1, nullptr);
}

std::string ExportPathToMemory(const std::string& txtPath, int codePage, int threads,
                               ExportReport* report) {
  const std::string tmxPath = WorkFolder() + "/out.tmx";
  std::string tmx;
  CTmxExporter exporter;
  exporter.SetSinkWrapper(
      [&tmx](std::unique_ptr<ByteSink>) { return std::make_unique<StringSink>(tmx); });
  ExportRequest request;
  request.txtPath = txtPath;
  request.tmxPath = tmxPath;
  request.sourceCode = "EN-US";
  request.sourceCodePage = codePage;
  request.targetCode = "DE";
  request.targetCodePage = codePage;
  request.threads = threads;
  request.report = report;
  const ExportResult result = exporter.Export(request, nullptr);
  std::remove(tmxPath.c_str());
  return result.stop == ExportResult::Stop::Failed ? std::string() : tmx;
}

}  // namespace fuzz

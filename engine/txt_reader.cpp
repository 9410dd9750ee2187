// SPDX-License-Identifier: MIT
#include "engine/txt_reader.h"

#include <utility>

#include "engine/progress.h"
#include "text/code_page.h"

namespace {

// The tags of the fields a unit holds.
bool IsUnitField(std::string_view tag) {
  for (const std::string_view field : {"Att", "Txt", "CrD", "CrU", "ChD", "ChU", "UsD", "UsC"}) {
    if (tag == field) return true;
  }
  return false;
}

}  // namespace

bool TxtReader::Open(const std::string& path, EngineError& error) {
  if (!m_in.Open(path)) {
    error.Set(EngineError::Kind::OpenInput, path, m_in.Error());
    return false;
  }
  m_total = m_in.Length();
  return true;
}

void TxtReader::SetProgress(ProgressReporter* progress) {
  m_progress = progress;
  m_in.SetStopCheck(progress);
}

bool TxtReader::Next(TxtUnit& unit) {
  if (m_ended) return false;
  if (m_startPending) {
    m_startPending = false;
    StartUnit();
  }
  std::string_view line;
  while (!m_stopped && m_in.ReadLineView(line)) {
    ++m_linesRead;
    m_bytesRead += static_cast<int64_t>(line.size());
    const bool complete = HandleLine(line);
    if (!ProgressStep()) {
      m_stopped = true;
      return false;
    }
    if (complete) {
      HandOn(unit);
      return true;
    }
    if (m_ended) return false;
  }
  if (m_stopped || Stopped() || m_in.ReadFailed()) return false;
  if (!m_open) {
    // Segments after the last unit's </TrU> and no </TrU> of their own: written as a stray
    // </TrU> would have closed them.
    if (!HandOnLoose()) return false;
  }
  // The file ended inside a unit: it counts as closed there.
  m_open = false;
  HandOn(unit);
  return true;
}

bool TxtReader::HandleLine(std::string_view line) {
  std::string_view tag, lValue, content;
  bool closing = false;
  if (ParseTagLine(line, tag, lValue, content, closing)) {
    return HandleTag(tag, lValue, content, closing);
  }
  FollowStyleSheet(line);
  return false;
}

bool TxtReader::HandleTag(std::string_view tag, std::string_view lValue, std::string_view content,
                          bool closing) {
  if (tag == "TrU") return closing ? CloseUnit() : OpenUnit();
  if (closing) return false;
  // Lines between units are kept too: a </TrU> without its <TrU> makes a unit of them.
  if (!m_open && m_unit.segmentCount == 0 && m_unit.fieldCount == 0) m_unit.line = m_linesRead;
  if (tag == "Seg") {
    TxtSegment& segment = m_unit.AddSegment();
    segment.line = m_linesRead;
    segment.code.assign(lValue);
    segment.text.assign(m_keepTexts ? content : std::string_view());
    return false;
  }
  TxtField& field = m_unit.AddField();
  field.line = m_linesRead;
  field.tag.assign(tag);
  field.name.assign(lValue);
  field.value.assign(m_keepTexts ? content : std::string_view());
  return false;
}

bool TxtReader::OpenUnit() {
  m_searchInternal = false;
  m_startLine = m_linesRead;
  if (m_open) {
    // A unit without its </TrU>: handed on as it is, the new one starts at the next call.
    m_startPending = true;
    m_unit.closed = false;
    return true;
  }
  // Segments since the last unit's </TrU>, not closed by one of their own, are not lost either.
  if (HandOnLoose()) {
    m_startPending = true;
    return true;
  }
  StartUnit();  // fields between the units belong to no unit (noted as such)
  return false;
}

bool TxtReader::HandOnLoose() {
  if (m_unit.segmentCount == 0) {
    NoteBetweenUnits();
    return false;
  }
  m_unit.number = m_unitNumber;
  m_unit.closed = false;
  return true;
}

void TxtReader::NoteBetweenUnits() {
  for (size_t i = 0; i < m_unit.fieldCount; ++i) {
    const TxtField& field = m_unit.fields[i];
    if (!IsUnitField(field.tag)) continue;  // "<RTF Preamble>" and the like: the file's frame
    ReportEntry entry;
    entry.line = field.line;
    entry.field = field.tag;
    if (!field.name.empty()) entry.field += ":" + field.name;
    m_betweenUnits.Add(std::move(entry));
  }
  m_unit.Clear();
}

bool TxtReader::CloseUnit() {
  if (m_unitEndCheck && !m_unitEndCheck()) m_ended = true;
  if (!m_open) {
    // A </TrU> without its <TrU>: segments read since the last unit are not lost; they make a
    // unit with the last unit's number, as such files were always read.
    if (m_unit.segmentCount == 0) {
      NoteBetweenUnits();
      return false;
    }
    m_unit.number = m_unitNumber;
  }
  m_open = false;
  m_unit.closed = true;
  return true;
}

// Style sheet lines name the character styles of internal tags and of text not to translate.
void TxtReader::FollowStyleSheet(std::string_view line) {
  if (m_searchInternal && line.find("korvexInternal") != std::string_view::npos) {
    m_searchInternal = false;
    WideString code;
    m_internalStyleCode = ExtractStyleCode(line, code) ? code.str() : u"\\cs6";
  } else if (m_searchDoNotTranslate && line.find("DO_NOT_TRANSLATE") != std::string_view::npos) {
    m_searchDoNotTranslate = false;
    WideString code;
    m_doNotTranslateStyleCode = ExtractStyleCode(line, code) ? code.str() : u"\\cs8";
  }
}

void TxtReader::StartUnit() {
  m_unit.Clear();
  m_unit.number = ++m_unitNumber;
  m_unit.line = m_startLine;
  m_unit.closed = false;
  m_open = true;
}

void TxtReader::HandOn(TxtUnit& unit) {
  // The style codes seldom change: most units keep those their buffers already hold.
  if (m_unit.internalStyleCode != m_internalStyleCode)
    m_unit.internalStyleCode = m_internalStyleCode;
  if (m_unit.doNotTranslateStyleCode != m_doNotTranslateStyleCode) {
    m_unit.doNotTranslateStyleCode = m_doNotTranslateStyleCode;
  }
  unit.Swap(m_unit);
  m_unit.Clear();
  ++m_unitsRead;
}

bool TxtReader::ProgressStep() {
  if (!m_progress || m_linesRead % 10 != 0) return true;
  int percent = 0;
  if (m_total > 0) {
    const double ratio = static_cast<double>(m_bytesRead) / static_cast<double>(m_total) * 100.0;
    percent = ratio >= 100.0 ? 100 : static_cast<int>(ratio);
  }
  m_progress->SetUnits(m_unitsRead);
  m_progress->SetPosition(percent);
  return !m_progress->ShouldStop();
}

bool ParseTagLine(std::string_view line, std::string_view& tag, std::string_view& lValue,
                  std::string_view& content, bool& closing) {
  tag = lValue = content = {};
  closing = false;
  if (line.empty() || line[0] != '<') return false;
  const size_t gt = line.find('>');
  if (gt == std::string_view::npos) return false;
  const std::string_view inner = line.substr(1, gt - 1);
  if (!inner.empty() && inner[0] == '/') {
    closing = true;
    tag = inner.substr(1, 3);
    return true;
  }
  tag = inner.substr(0, 3);
  content = line.substr(gt + 1);
  const size_t l = inner.find("L=");
  if (l != std::string_view::npos) lValue = inner.substr(l + 2);
  return true;
}

bool ExtractStyleCode(std::string_view line, WideString& code) {
  code.Empty();
  const size_t cs = line.find("\\cs");
  if (cs == std::string_view::npos) return false;
  const size_t blank = line.find(' ', cs);
  if (blank == std::string_view::npos) return false;
  code = WideString(Decode(1252, line.substr(cs, blank - cs)));
  return true;
}

// SPDX-License-Identifier: MIT
// TxtReader: reads a TXT file line by line and yields its units. It follows the style sheet
// before the units for the character style codes, reports progress by bytes read, and stops
// between blocks when asked to.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/export_request.h"
#include "engine/line_reader.h"
#include "engine/txt_unit.h"
#include "text/wide_string.h"

class ProgressReporter;

class TxtReader {
 public:
  // False with the reason in error when the file cannot be opened.
  [[nodiscard]] bool Open(const std::string& path, EngineError& error);
  // Progress goes to progress every ten lines; it is also asked whether to stop.
  void SetProgress(ProgressReporter* progress);
  // Only asked whether to stop, before each block read (no progress is shown).
  void SetStopCheck(ProgressReporter* progress) { m_in.SetStopCheck(progress); }
  // Called at every </TrU> line as it is read, whether or not it closes a unit. False ends the
  // reading there: the unit the line closes is still handed on, then Next gives false.
  void SetUnitEndCheck(std::function<bool()> check) { m_unitEndCheck = std::move(check); }
  // Without texts the units hold their segments' codes and their fields' tags and names, but
  // no segment text and no field value (a scan for the languages needs no copy of them).
  void KeepTexts(bool keep) { m_keepTexts = keep; }

  // The next unit with both its fields and segments (into unit, whose buffers it reuses).
  // A unit still open when the next <TrU> or the end of the file comes is handed on as well,
  // and so are segments after a </TrU> that no unit holds.
  // False at the end of the file, after a read error or when asked to stop.
  bool Next(TxtUnit& unit);

  bool Stopped() const { return m_stopped || m_in.StopRequested(); }
  bool ReadFailed() const { return m_in.ReadFailed(); }
  int Error() const { return m_in.Error(); }
  // How the file holds its text; UTF-8 segments when it is not kBytes.
  InputForm Form() const { return m_in.Form(); }
  int64_t LinesRead() const { return m_linesRead; }
  // What was read of the next unit when Next gave false (after a stop or a read error, say).
  const TxtUnit& UnitSoFar() const { return m_unit; }
  // Fields that stood between units (no unit takes them): their lines and tags.
  const ReportList& BetweenUnits() const { return m_betweenUnits; }

 private:
  // Handles one line; true when it completed a unit (now in m_unit).
  bool HandleLine(std::string_view line);
  bool HandleTag(std::string_view tag, std::string_view lValue, std::string_view content,
                 bool closing);
  // <TrU> and </TrU>; true when a unit is complete.
  bool OpenUnit();
  bool CloseUnit();
  void FollowStyleSheet(std::string_view line);
  void StartUnit();
  // Segments read outside a unit become one when the next <TrU> or the end of the file comes
  // (true); without segments, the fields read are noted as between units (false).
  bool HandOnLoose();
  void NoteBetweenUnits();
  bool ProgressStep();
  void HandOn(TxtUnit& unit);

  LineReader m_in;
  ProgressReporter* m_progress = nullptr;
  std::function<bool()> m_unitEndCheck;
  bool m_ended = false;  // the unit end check ended the reading
  bool m_keepTexts = true;
  int64_t m_total = 0;
  int64_t m_linesRead = 0;
  int64_t m_bytesRead = 0;
  int64_t m_unitsRead = 0;  // units handed on
  bool m_stopped = false;

  bool m_searchInternal = true;
  bool m_searchDoNotTranslate = true;
  std::u16string m_internalStyleCode = u"\\cs6";
  std::u16string m_doNotTranslateStyleCode = u"\\cs8";

  int m_unitNumber = 0;
  bool m_open = false;          // a <TrU> came and its </TrU> not yet
  bool m_startPending = false;  // the <TrU> that ended the last handed-on unit starts the next
  int64_t m_startLine = 0;
  TxtUnit m_unit;
  ReportList m_betweenUnits;
};

// ParseTagLine: splits a tag line into tag, L value and content. False when the line is no
// tag line (does not begin with "<" or holds no ">"); the outputs are emptied first.
bool ParseTagLine(std::string_view line, std::string_view& tag, std::string_view& lValue,
                  std::string_view& content, bool& closing);
// ExtractStyleCode: the "\\csN" control word of a style sheet line (up to the next blank).
bool ExtractStyleCode(std::string_view line, WideString& code);

// SPDX-License-Identifier: MIT
#include "engine/tmx_exporter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/line_file.h"
#include "text/code_page.h"
#include "text/string_table.h"
#include "text/unit_set.h"

namespace {

// Escapes & < > (and " where the text stands in an attribute value). Runs that need no escape
// are found eight units at a time and copied whole.
void AppendEscaped(std::u16string& out, std::u16string_view text, bool attribute) {
  static constexpr UnitSet kTextSpecials(u"&<>");
  static constexpr UnitSet kAttributeSpecials(u"&<>\"");
  const UnitSet& specials = attribute ? kAttributeSpecials : kTextSpecials;
  size_t from = 0;
  for (;;) {
    const size_t i = specials.FindFirst(text, from);
    out.append(text.substr(from, i - from));
    if (i == text.size()) return;
    switch (text[i]) {
      case u'&': out.append(u"&amp;"); break;
      case u'<': out.append(u"&lt;"); break;
      case u'>': out.append(u"&gt;"); break;
      default: out.append(u"&quot;"); break;
    }
    from = i + 1;
  }
}

// The six unit fields that become <tuv> attributes, in the order of the TXT tags.
enum FieldKind { kCrD, kCrU, kChD, kChU, kUsD, kUsC, kFieldKinds };
constexpr std::array<std::string_view, kFieldKinds> kFieldTags = {"CrD", "CrU", "ChD",
                                                                 "ChU", "UsD", "UsC"};
constexpr std::array<std::u16string_view, kFieldKinds> kAttributeNames = {
    u"creationdate", u"creationid", u"changedate", u"changeid", u"lastusagedate", u"usagecount"};

int FieldKindOf(std::string_view tag) {
  for (int k = 0; k < kFieldKinds; ++k) {
    if (kFieldTags[static_cast<size_t>(k)] == tag) return k;
  }
  return -1;
}

bool IsDateField(int kind) { return kind == kCrD || kind == kChD || kind == kUsD; }


std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The temporary file beside the TMX file; removed unless it was renamed into place.
class TemporaryFile {
 public:
  ~TemporaryFile() { Discard(); }
  bool Create(const std::string& target) {
    std::string pattern = FolderOf(target) + "/." + BaseNameOf(target) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = ::mkstemp(name.data());
    if (m_fd < 0) {
      m_error = errno;
      return false;
    }
    m_path = name.data();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, 0666 & ~mask);
    return true;
  }
  int Fd() const { return m_fd; }
  int Error() const { return m_error; }
  bool CommitAs(const std::string& target) {
    CloseFd();
    if (::rename(m_path.c_str(), target.c_str()) != 0) {
      m_error = errno;
      return false;
    }
    m_path.clear();
    return true;
  }
  void Discard() {
    CloseFd();
    if (!m_path.empty()) {
      ::unlink(m_path.c_str());
      m_path.clear();
    }
  }

 private:
  void CloseFd() {
    if (m_fd >= 0) {
      ::close(m_fd);
      m_fd = -1;
    }
  }
  int m_fd = -1;
  int m_error = 0;
  std::string m_path;
};

}  // namespace

// One run of Export: the state of reading the TXT file and writing the TMX document.
class ExportRun {
 public:
  ExportRun(CTmxExporter& exporter, ProgressReporter* progressBar, ProgressReporter* statusBar)
      : m_x(exporter), m_progress(progressBar), m_status(statusBar) {}

  int Run(const std::string& txtPath, const std::string& tmxPath, const std::string& sourceCode,
          int sourceCodePage, const std::string& targetCode, int targetCodePage, int utf16Output);

 private:
  bool WriteHeader();
  void HandleRecord(std::string_view tag, std::string_view lValue, std::string_view content,
                    bool closing);
  void WriteUnit();
  void HandleField(std::string_view tag, std::string_view lValue, std::string_view content);
  bool ProgressStep();
  bool Line(int indent) { return m_out.WriteLine(indent, m_line); }

  CTmxExporter& m_x;
  ProgressReporter* m_progress;
  ProgressReporter* m_status;
  CLineFile m_out;

  std::string m_sourceCode, m_targetCode;
  std::u16string m_sourceAttr, m_targetAttr;  // the codes, escaped for attributes
  int m_sourceCodePage = 0, m_targetCodePage = 0;

  int m_unitNumber = 0;
  std::string m_sourceText, m_targetText;
  std::vector<std::u16string> m_properties;
  size_t m_propertyCount = 0;
  // <tuv> attributes: their kinds in the order of first occurrence, and the last value of each.
  std::array<int, kFieldKinds> m_attributeOrder{};
  int m_attributeCount = 0;
  std::array<std::u16string, kFieldKinds> m_attributeValues;
  std::u16string m_date;    // scratch: a formatted date
  std::u16string m_name;    // scratch: a field name, escaped
  std::u16string m_attributesText;  // scratch: the <tuv> attributes of a unit
  std::string m_code;       // scratch: a Seg line's code during resolution
  std::u16string m_line;    // scratch: the line being built
  std::u16string m_value;   // scratch: a field value
  int64_t m_linesRead = 0;
  int64_t m_bytesRead = 0;
  int64_t m_total = 0;
};

void EngineError::Set(Kind failure, const std::string& file, int number) {
  kind = failure;
  path = file;
  reason = number ? std::strerror(number) : std::string();
}

CTmxExporter::CTmxExporter() = default;
CTmxExporter::~CTmxExporter() = default;

int CTmxExporter::Export(const std::string& txtPath, const std::string& tmxPath,
                         const std::string& sourceCode, int sourceCodePage,
                         const std::string& targetCode, int targetCodePage,
                         ProgressReporter* progressBar, ProgressReporter* statusBar,
                         int utf16Output) {
  m_unitCount = 0;
  m_error = EngineError();
  m_inlineConverter.Reset();
  ProgressReporter* cursor = progressBar ? progressBar : statusBar;
  if (cursor) cursor->BeginWaitCursor();
  ExportRun run(*this, progressBar, statusBar);
  const int result =
      run.Run(txtPath, tmxPath, sourceCode, sourceCodePage, targetCode, targetCodePage, utf16Output);
  if (cursor) cursor->EndWaitCursor();
  return result;
}

int ExportRun::Run(const std::string& txtPath, const std::string& tmxPath,
                   const std::string& sourceCode, int sourceCodePage,
                   const std::string& targetCode, int targetCodePage, int utf16Output) {
  EngineError& error = m_x.m_error;
  CLineFile in;
  if (!in.Open(txtPath, "r", kTextPlain)) {
    error.Set(EngineError::Kind::OpenInput, txtPath, in.Error());
    return -1;
  }
  struct stat txtStat {}, tmxStat {};
  if (tmxPath.empty()) {
    error.Set(EngineError::Kind::CreateOutput, tmxPath, ENOENT);
    return -1;
  }
  if (::stat(tmxPath.c_str(), &tmxStat) == 0) {
    if (::stat(txtPath.c_str(), &txtStat) == 0 && txtStat.st_dev == tmxStat.st_dev &&
        txtStat.st_ino == tmxStat.st_ino) {
      error.kind = EngineError::Kind::SameFile;
      error.path = tmxPath;
      error.reason = "the TXT file and the TMX file are the same file";
      return -1;
    }
    if (S_ISDIR(tmxStat.st_mode)) {
      error.Set(EngineError::Kind::CreateOutput, tmxPath, EISDIR);
      return -1;
    }
  }
  TemporaryFile temp;
  if (!temp.Create(tmxPath)) {
    error.Set(EngineError::Kind::CreateOutput, tmxPath, temp.Error());
    return -1;
  }
  std::unique_ptr<ByteSink> sink = std::make_unique<FdSink>(temp.Fd());
  if (m_x.m_sinkWrapper) sink = m_x.m_sinkWrapper(std::move(sink));
  (void)m_out.OpenSink(std::move(sink), utf16Output != 0, kTextMarked);

  m_total = in.GetLength();
  if (m_status) m_status->SetStatusText(LoadStringText(IDS_EXPORTING));

  bool searchInternal = true;
  bool searchDoNotTranslate = true;
  InlineConverter& inlineConverter = m_x.m_inlineConverter;
  inlineConverter.SetInternalStyleCode(kDefaultInternalStyleCode);
  inlineConverter.SetDoNotTranslateStyleCode(kDefaultDoNotTranslateStyleCode);
  m_sourceCode = sourceCode;
  m_targetCode = targetCode;
  m_sourceCodePage = sourceCodePage;
  m_targetCodePage = targetCodePage;
  AppendEscaped(m_sourceAttr, Decode(kCodePageAnsi, sourceCode), true);
  AppendEscaped(m_targetAttr, Decode(kCodePageAnsi, targetCode), true);

  WriteHeader();

  std::string_view line;
  bool abandoned = false;
  while (in.ReadLineView(line)) {
    ++m_linesRead;
    m_bytesRead += static_cast<int64_t>(line.size());
    std::string_view tag, lValue, content;
    bool closing = false;
    if (ParseTagLine(line, tag, lValue, content, closing)) {
      if (searchInternal && tag == "TrU" && !closing) searchInternal = false;
      HandleRecord(tag, lValue, content, closing);
    } else if (searchInternal && line.find("korvexInternal") != std::string_view::npos) {
      searchInternal = false;
      WideString code;
      inlineConverter.SetInternalStyleCode(
          ExtractStyleCode(line, code) ? code.str() : kDefaultInternalStyleCode);
    } else if (searchDoNotTranslate && line.find("DO_NOT_TRANSLATE") != std::string_view::npos) {
      searchDoNotTranslate = false;
      WideString code;
      inlineConverter.SetDoNotTranslateStyleCode(
          ExtractStyleCode(line, code) ? code.str() : kDefaultDoNotTranslateStyleCode);
    }
    if (m_out.WriteFailed()) break;
    if (!ProgressStep()) {
      abandoned = true;
      break;
    }
  }
  if (!abandoned && !in.ReadFailed() && !m_out.WriteFailed() && m_progress) {
    m_progress->SetProgressPos(100);
    m_progress->SetProgressText("100%");
    abandoned = !m_progress->PumpMessages();
  }
  if (abandoned) {
    error.kind = EngineError::Kind::Abandoned;
    error.path = tmxPath;
    m_out.Close();
    temp.Discard();
    return 0;
  }
  if (in.ReadFailed()) {
    error.Set(EngineError::Kind::ReadInput, txtPath, in.Error());
    m_out.Close();
    temp.Discard();
    return -1;
  }
  m_line = u"</body>";
  Line(2);
  m_line = u"</tmx>";
  Line(0);
  const bool flushed = m_out.Flush();
  if (!flushed || m_out.WriteFailed()) {
    error.Set(EngineError::Kind::WriteOutput, tmxPath, m_out.Error());
    m_out.Close();
    temp.Discard();
    return -1;
  }
  m_out.Close();
  if (!temp.CommitAs(tmxPath)) {
    error.Set(EngineError::Kind::CreateOutput, tmxPath, temp.Error());
    return -1;
  }
  if (m_status) m_status->SetStatusText(LoadStringText(IDS_IDLE));
  return m_x.m_unitCount;
}

bool ExportRun::WriteHeader() {
  static constexpr std::pair<int, std::u16string_view> kFixed[] = {
      {0, u"<?xml version=\"1.0\" ?>"},
      {0, u"<!DOCTYPE tmx SYSTEM \"tmx14.dtd\">"},
      {0, u"<tmx version=\"1.4\">"},
      {2, u"<header"},
      {4, u"creationtool=\"Ombrelin\""},
  };
  for (const auto& [indent, text] : kFixed) {
    m_line = text;
    Line(indent);
  }
  m_line = u"creationtoolversion=\"";
  AppendEscaped(m_line, FromUtf8(LoadStringText(IDS_TOOL_VERSION)).str(), true);
  m_line += u"\"";
  Line(4);
  m_line = u"segtype=\"sentence\"";
  Line(4);
  m_line = u"o-tmf=\"Korvex 2.0 Format\"";
  Line(4);
  m_line = u"adminlang=\"EN-US\"";
  Line(4);
  m_line = u"srclang=\"" + m_sourceAttr + u"\"";
  Line(4);
  m_line = u"datatype=\"rtf\"";
  Line(4);
  m_line = u">";
  Line(2);
  m_line = u"</header>";
  Line(2);
  m_line = u"<body>";
  return Line(2);
}

void ExportRun::HandleRecord(std::string_view tag, std::string_view lValue,
                             std::string_view content, bool closing) {
  if (tag == "TrU") {
    if (!closing) {
      ++m_unitNumber;
      m_sourceText.clear();
      m_targetText.clear();
      return;
    }
    if (m_sourceText.empty() || m_targetText.empty()) {
      m_propertyCount = 0;
      m_attributeCount = 0;
      return;
    }
    WriteUnit();
    return;
  }
  if (closing) return;
  if (tag == "Seg") {
    m_code.assign(lValue.data(), lValue.size());
    int codePage = 0;
    if (!m_x.ResolveLanguageCode(m_code, codePage)) return;
    if (m_code == m_sourceCode) m_sourceText.assign(content.data(), content.size());
    else if (m_code == m_targetCode) m_targetText.assign(content.data(), content.size());
    return;
  }
  HandleField(tag, lValue, content);
}

void ExportRun::HandleField(std::string_view tag, std::string_view lValue,
                            std::string_view content) {
  const bool isAtt = tag == "Att";
  const bool isTxt = !isAtt && tag == "Txt";
  const int kind = (isAtt || isTxt) ? -1 : FieldKindOf(tag);
  if (!isAtt && !isTxt && kind < 0) return;

  m_value.clear();
  DecodeAppend(static_cast<unsigned>(m_targetCodePage), content, m_value);
  std::erase(m_value, u'\t');

  // The field name, escaped for the type attribute, is the same for every piece.
  if (isAtt || isTxt) {
    m_name.clear();
    AppendEscaped(m_name, Decode(kCodePageAnsi, lValue), true);
  }
  auto addProperty = [&](std::u16string_view prefix, std::u16string_view piece) {
    if (m_propertyCount == m_properties.size()) m_properties.emplace_back();
    std::u16string& p = m_properties[m_propertyCount++];
    p.assign(u"<prop type=\"");
    p.append(prefix);
    p.append(m_name);
    p.append(u"\">");
    AppendEscaped(p, piece, false);
    p.append(u"</prop>");
  };

  if (isAtt) {
    std::u16string_view rest = m_value;
    while (!rest.empty()) {
      const size_t cut = rest.find(u", ");
      if (cut == std::u16string_view::npos) {
        addProperty(u"x-ALM:", rest);
        break;
      }
      addProperty(u"x-ALM:", rest.substr(0, cut));
      rest = rest.substr(cut + 2);
    }
    return;
  }
  if (isTxt) {
    addProperty(u"x-TXT:", m_value);
    return;
  }
  if (IsDateField(kind) && !FormatTmxDate(m_value, m_date)) return;
  const std::u16string& value = IsDateField(kind) ? m_date : m_value;
  bool seen = false;
  for (int i = 0; i < m_attributeCount && !seen; ++i) seen = m_attributeOrder[static_cast<size_t>(i)] == kind;
  if (!seen) m_attributeOrder[static_cast<size_t>(m_attributeCount++)] = kind;
  m_attributeValues[static_cast<size_t>(kind)].assign(value);
}

void ExportRun::WriteUnit() {
  char16_t number[16];
  char digits[16];
  const auto written = std::to_chars(digits, digits + sizeof digits, m_unitNumber);
  const size_t length = static_cast<size_t>(written.ptr - digits);
  for (size_t i = 0; i < length; ++i) number[i] = static_cast<char16_t>(digits[i]);
  m_out.WriteLine(4, {u"<tu tuid=\"", std::u16string_view(number, length), u"\" srclang=\"",
                      m_sourceAttr, u"\">"});
  for (size_t i = 0; i < m_propertyCount; ++i) m_out.WriteLine(6, m_properties[i]);
  m_propertyCount = 0;

  InlineConverter& inlineConverter = m_x.m_inlineConverter;
  const WideString sourceMarkup =
      inlineConverter.ConvertSegment(m_sourceText, m_sourceCodePage, true);
  const WideString targetMarkup =
      inlineConverter.ConvertSegment(m_targetText, m_targetCodePage, false);
  const WideString sourceContent = inlineConverter.PairInlineTags(sourceMarkup, true);
  const WideString targetContent = inlineConverter.PairInlineTags(targetMarkup, false);

  std::u16string& attributes = m_attributesText;
  attributes.clear();
  for (int i = 0; i < m_attributeCount; ++i) {
    const auto kind = static_cast<size_t>(m_attributeOrder[static_cast<size_t>(i)]);
    attributes += u' ';
    attributes += kAttributeNames[kind];
    attributes += u"=\"";
    AppendEscaped(attributes, m_attributeValues[kind], true);
    attributes += u'"';
  }
  auto writeTuv = [&](const std::u16string& code, const WideString& content) {
    m_out.WriteLine(6, {u"<tuv xml:lang=\"", code, u"\"", attributes, u">"});
    m_out.WriteLine(8, {u"<seg>", content.str(), u"</seg>"});
    m_out.WriteLine(6, u"</tuv>");
  };
  writeTuv(m_sourceAttr, sourceContent);
  writeTuv(m_targetAttr, targetContent);
  m_out.WriteLine(4, u"</tu>");
  m_attributeCount = 0;
  ++m_x.m_unitCount;
  inlineConverter.ClearTagLists();
}

bool ExportRun::ProgressStep() {
  if (!m_progress || m_linesRead % 10 != 0) return true;
  m_progress->RestoreWaitCursor();
  int percent = 0;
  if (m_total > 0) {
    const double ratio = static_cast<double>(m_bytesRead) / static_cast<double>(m_total) * 100.0;
    percent = ratio >= 100.0 ? 100 : static_cast<int>(ratio);
  }
  m_progress->SetProgressText(std::to_string(percent) + "%");
  m_progress->SetProgressPos(percent);
  return m_progress->PumpMessages();
}

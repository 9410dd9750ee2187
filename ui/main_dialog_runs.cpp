// SPDX-License-Identifier: MIT
// The main dialog's runs: the busy state while the worker converts or analyses, the progress it
// reports, and what the dialog does with the result.
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include "text/language_catalogue.h"
#include "ui/command_runner.h"
#include "ui/export_summary.h"
#include "ui/language_dialog.h"
#include "ui/main_dialog.h"
#include "ui/model_combo_box.h"
#include "ui/progress_bar.h"
#include "ui/qt_progress_reporter.h"
#include "ui/status_bar.h"
#include "ui/ui_strings.h"
#include "ui/ui_texts.h"
#include "ui/user_prompts.h"

namespace {

constexpr int kProgressPane = 1;

QString Text(int id) {
  return QString::fromUtf8(LoadUiText(id));
}

// Message boxes show the string table's CR LF line ends as plain line breaks.
QString MessageText(QString text) {
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Why a conversion wrote nothing, when the engine knows a cause beyond the languages.
QString FailureDetail(const EngineError& error) {
  if (error.kind == EngineError::Kind::None || error.kind == EngineError::Kind::Abandoned) {
    return {};
  }
  QString detail = QString::fromUtf8(error.path);
  if (!error.reason.empty()) detail += QStringLiteral(": ") + QString::fromUtf8(error.reason);
  return detail;
}

}  // namespace

void CMainDlg::StartCommand(Command command) {
  m_command = command;
  m_analyse->setEnabled(false);
  m_protect->setEnabled(false);
  WaitCursor::Begin();
  m_bar = std::make_unique<CProgressBar>(QStringLiteral("Progress"), m_statusBar, 100, false,
                                         kProgressPane);
}

void CMainDlg::FinishCommand() {
  m_command = Command::None;
  m_analyse->setEnabled(true);
  m_protect->setEnabled(true);
  emit commandFinished();
  if (m_preselectPending) {
    m_preselectPending = false;
    OnTxtPathChanged();
  }
}

void CMainDlg::AbandonCommand() {
  if (!m_runner->IsRunning()) return;
  m_runner->Abandon();
  m_bar.reset();  // empties pane 1
  m_statusBar->SetPaneText(0, Text(IDS_IDLE));
  WaitCursor::End();
  m_preselectPending = false;
  m_command = Command::None;
  m_analyse->setEnabled(true);
  m_protect->setEnabled(true);
}

void CMainDlg::StartExport(const ExportRequest& request) {
  StartCommand(Command::Protect);
  // The report is collected on every run, so that the result can offer it.
  m_report = ExportReport();
  m_runTmxPath = QFile::decodeName(request.tmxPath.c_str());
  ExportRequest reported = request;
  reported.report = &m_report;
  m_runner->StartExport(reported);
}

void CMainDlg::OnRunPosition(int percent) {
  if (!m_bar) return;
  m_bar->SetText(QString::number(percent) + QLatin1Char('%'));
  m_bar->SetPos(percent);
  WaitCursor::Restore();
}

void CMainDlg::OnRunText(const QString& text) {
  if (m_bar) m_statusBar->SetPaneText(0, text);
}

void CMainDlg::OnAnalysisFinished(bool analysed, const LanguageList& languages) {
  if (analysed) {
    // A finished analysis leaves "0%" in the pane; the bar goes, the text stays.
    m_bar->SetText(QStringLiteral("0%"));
    m_bar->DestroyWindow();
  } else {
    m_bar->Clear();
    m_statusBar->SetPaneText(0, Text(IDS_IDLE));
  }
  m_bar.reset();
  WaitCursor::End();
  if (analysed && m_command == Command::Preselect) Preselect(languages);
  if (analysed && m_command == Command::Analyse) ChooseLanguages(languages);
  FinishCommand();
}

void CMainDlg::OnExportFinished(const ExportResult& result) {
  // The wait cursor and the disabled buttons remain while the result is on show.
  ReportExport(result);
  m_bar.reset();  // empties pane 1
  m_statusBar->SetPaneText(0, Text(IDS_IDLE));
  WaitCursor::End();
  FinishCommand();
}

void CMainDlg::ReportExport(const ExportResult& result) {
  QString message = ResultMessage(result);
  // A written TMX file with skipped units or changes offers the report of the run beside it
  // (never under the name of the TXT file, which a TMX name chosen by hand could give).
  const QString reportPath = ReportPathFor(m_runTmxPath);
  const QFileInfo txt(QFile::decodeName(m_report.txtPath.c_str()));
  if (result.stop != ExportResult::Stop::Done || !ReportHasFindings(m_report) ||
      QFileInfo(reportPath) == txt) {
    UserPrompts::ShowMessage(this, message, PromptIcon::Information, PromptButtons::Ok);
    return;
  }
  message += QStringLiteral("\n\n") + QString::fromUtf8(kSaveReportQuestion).arg(reportPath);
  if (QFileInfo::exists(reportPath)) {
    message += QStringLiteral("\n") + QString::fromUtf8(kReportReplaced);
  }
  if (UserPrompts::ShowMessage(this, message, PromptIcon::Information, PromptButtons::YesNo) ==
      PromptAnswer::Yes) {
    SaveReport(reportPath);
  }
}

QString CMainDlg::ResultMessage(const ExportResult& result) const {
  const int written = result.Count();
  const QString skipped = SkippedUnitsText(result.skipped);
  if (written > 0) {
    QString message =
        MessageText(Text(IDS_FINISHED)).replace(QStringLiteral("%i"), QString::number(written));
    if (!skipped.isEmpty()) message += QStringLiteral("\n\n") + skipped;
    return message;
  }
  QString message = MessageText(Text(IDS_NOTHING_EXPORTED));
  if (written == 0 && !skipped.isEmpty()) message += QStringLiteral("\n\n") + skipped;
  const QString detail = FailureDetail(result.error);
  if (written < 0 && !detail.isEmpty()) message += QStringLiteral("\n\n") + detail;
  if (QFileInfo::exists(m_runTmxPath)) {
    message += QStringLiteral("\n\n") + QString::fromUtf8(kExistingTmxKept).arg(m_runTmxPath);
  }
  return message;
}

void CMainDlg::SaveReport(const QString& path) {
  QString error;
  if (WriteReportFile(path, m_report, &error)) return;
  UserPrompts::ShowMessage(this, QString::fromUtf8(kReportNotWritten).arg(path, error),
                           PromptIcon::Exclamation, PromptButtons::Ok);
}

void CMainDlg::Preselect(const LanguageList& languages) {
  if (!languages.empty()) {
    SelectLanguage(m_sourceLanguages, m_sourceEncodings, QString::fromUtf8(languages[0].name),
                   m_sourceLang, m_sourceCodePage);
  }
  if (languages.size() > 1) {
    SelectLanguage(m_targetLanguages, m_targetEncodings, QString::fromUtf8(languages[1].name),
                   m_targetLang, m_targetCodePage);
  }
}

void CMainDlg::ChooseLanguages(const LanguageList& languages) {
  CLanguageDlg chooser(languages, this);
  const int result = m_runLanguageDialog ? m_runLanguageDialog(chooser) : chooser.exec();
  if (result != QDialog::Accepted || chooser.Source().isEmpty() || chooser.Target().isEmpty()) {
    return;
  }
  // A catalogue code becomes its display name; any other text is looked up as it is.
  const QString source = QString::fromUtf8(LanguageDisplayName(chooser.Source().toStdString()));
  SelectLanguage(m_sourceLanguages, m_sourceEncodings, source, m_sourceLang, m_sourceCodePage);
  const QString target = QString::fromUtf8(LanguageDisplayName(chooser.Target().toStdString()));
  SelectLanguage(m_targetLanguages, m_targetEncodings, target, m_targetLang, m_targetCodePage);
}

// SPDX-License-Identifier: MIT
// The main dialog's runs: the busy state while the worker converts or analyses, the progress it
// reports, and what the dialog does with the result.
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include "engine/tmx_exporter.h"
#include "text/language_catalogue.h"
#include "ui/command_runner.h"
#include "ui/export_summary.h"
#include "ui/language_dialog.h"
#include "ui/main_dialog.h"
#include "ui/model_combo_box.h"
#include "ui/progress_bar.h"
#include "ui/qt_progress_reporter.h"
#include "ui/run_messages.h"
#include "ui/status_bar.h"
#include "ui/string_table_texts.h"
#include "ui/ui_strings.h"
#include "ui/ui_texts.h"
#include "ui/user_prompts.h"

namespace {

constexpr int kProgressPane = 1;

QString Text(int id) {
  return UiText(id);
}

// The display name of a language typed as a code, as the command line takes codes: in the
// file's forms ("de_ch", "EN-us") and any letter case. Other text comes back unchanged.
QString LanguageNameOf(const QString& typed) {
  const std::string given = typed.trimmed().toStdString();
  CTmxExporter resolver;
  for (std::string code : {given, typed.trimmed().toUpper().toStdString()}) {
    int codePage = 0;
    if (resolver.ResolveLanguageCode(code, codePage) && FindLanguageRecord(code)) {
      return QString::fromUtf8(LanguageDisplayName(code));
    }
  }
  return QString::fromUtf8(LanguageDisplayName(given));
}

}  // namespace

void CMainDlg::StartCommand(Command command) {
  m_command = command;
  m_analyse->setEnabled(false);
  m_protect->setEnabled(false);
  if (command == Command::Protect) {
    // Cancel takes Protect's place while the conversion runs.
    const bool hadFocus = m_protect->hasFocus();
    m_cancel->show();
    m_protect->hide();
    if (hadFocus) m_cancel->setFocus();
  }
  WaitCursor::Begin();
  m_bar = std::make_unique<CProgressBar>(QStringLiteral("Progress"), m_statusBar, 100, false,
                                         kProgressPane);
  if (QProgressBar* bar = m_bar->Bar()) bar->setAccessibleName(tr("Progress"));
}

void CMainDlg::ShowIdleButtons() {
  const bool hadFocus = m_cancel->hasFocus();
  m_protect->show();
  m_cancel->hide();
  m_analyse->setEnabled(true);
  m_protect->setEnabled(true);
  if (hadFocus) m_protect->setFocus();
  SetTitleProgress(-1);
}

void CMainDlg::SetTitleProgress(int percent) {
  const QString title = QString::fromUtf8(LoadUiText(IDS_APP_TITLE));
  setWindowTitle(percent < 0 ? title : tr("%1% - %2").arg(percent).arg(title));
}

void CMainDlg::OnCancel() {
  if (m_command != Command::Protect || !m_runner->IsRunning()) return;
  const QString tmx = m_runTmxPath;
  AbandonCommand();
  m_statusBar->SetPaneText(0, RunMessages::Cancelled(tmx, QFileInfo::exists(tmx)));
}

void CMainDlg::FinishCommand() {
  m_command = Command::None;
  ShowIdleButtons();
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
  m_batch.clear();
  m_batchFile.clear();
  ShowIdleButtons();
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
  if (m_command == Command::Protect) SetTitleProgress(percent);
  WaitCursor::Restore();
}

void CMainDlg::OnRunText(const QString& text) {
  if (m_bar) m_statusBar->SetPaneText(0, UiText(text.toStdString()));
}

void CMainDlg::OnAnalysisFinished(const AnalysisResult& analysis) {
  const bool analysed = !analysis.Failed();
  const LanguageList& languages = analysis.languages;
  // The bar goes and the progress pane is empty again.
  m_bar->Clear();
  m_bar.reset();
  if (!analysed) m_statusBar->SetPaneText(0, Text(IDS_IDLE));
  WaitCursor::End();
  if (analysed && m_command == Command::Preselect) Preselect(languages);
  if (m_command == Command::Analyse) {
    if (!analysed) {
      const QString cause = RunMessages::FailureText(analysis.error);
      if (!cause.isEmpty()) {
        UserPrompts::ShowMessage(this, cause, PromptIcon::Exclamation, PromptButtons::Ok);
      }
    } else if (languages.empty()) {
      UserPrompts::ShowMessage(this, RunMessages::NotAnExport(m_txtPath), PromptIcon::Exclamation,
                               PromptButtons::Ok);
    } else {
      ChooseLanguages(languages);
    }
  }
  FinishCommand();
}

void CMainDlg::OnExportFinished(const ExportResult& result) {
  if (m_asking) {
    // The exit question is open: its answer comes first.
    m_heldResult = result;
    return;
  }
  if (!m_batchFile.isEmpty()) {
    OnBatchFileFinished(result);
    return;
  }
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
    const bool failed = result.stop == ExportResult::Stop::Failed || result.unitsRead == 0;
    UserPrompts::ShowMessage(this, message,
                             failed ? PromptIcon::Exclamation : PromptIcon::Information,
                             PromptButtons::Ok);
    return;
  }
  message += QStringLiteral("\n\n") + tr(kSaveReportQuestion).arg(reportPath);
  if (QFileInfo::exists(reportPath)) {
    message += QStringLiteral("\n") + tr(kReportReplaced);
  }
  if (UserPrompts::ShowMessage(this, message, PromptIcon::Information, PromptButtons::YesNo) ==
      PromptAnswer::Yes) {
    SaveReport(reportPath);
  }
}

QString CMainDlg::ResultMessage(const ExportResult& result) const {
  // A failed run counts as no unit written, and its skipped units are not told.
  const bool failed = result.stop == ExportResult::Stop::Failed;
  const int written = failed ? 0 : result.unitsWritten;
  const QString skipped = SkippedUnitsText(result.skipped);
  if (written > 0) {
    QString message = RunMessages::Finished(written);
    if (!skipped.isEmpty()) message += QStringLiteral("\n\n") + skipped;
    return message;
  }
  // A failure names its cause first; the advice about the languages is for a file that was read
  // and gave no unit of the pair.
  QString message = RunMessages::FailureText(result.error);
  if (message.isEmpty() && result.unitsRead == 0) {
    message = RunMessages::NotAnExport(QFile::decodeName(m_report.txtPath.c_str()));
  }
  if (message.isEmpty()) message = RunMessages::NothingExported();
  if (!failed && written == 0 && !skipped.isEmpty()) message += QStringLiteral("\n\n") + skipped;
  if (QFileInfo::exists(m_runTmxPath)) {
    message += QStringLiteral("\n\n") + tr(kExistingTmxKept).arg(m_runTmxPath);
  }
  return message;
}

void CMainDlg::SaveReport(const QString& path) {
  QString error;
  if (WriteReportFile(path, m_report, &error)) return;
  UserPrompts::ShowMessage(this, tr(kReportNotWritten).arg(path, error), PromptIcon::Exclamation,
                           PromptButtons::Ok);
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
  // A language code in any form and letter case becomes its display name; any other text is
  // looked up as it is.
  const QString source = LanguageNameOf(chooser.Source());
  SelectLanguage(m_sourceLanguages, m_sourceEncodings, source, m_sourceLang, m_sourceCodePage);
  const QString target = LanguageNameOf(chooser.Target());
  SelectLanguage(m_targetLanguages, m_targetEncodings, target, m_targetLang, m_targetCodePage);
  SaveSettings();
}

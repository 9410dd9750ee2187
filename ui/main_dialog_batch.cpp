// SPDX-License-Identifier: MIT
// Several TXT files at once: each is converted in turn into the TMX file beside it, with the
// languages chosen in the window, and gets a row in the results list (file, units written,
// skipped, report). "Open folder" shows the folder of the results.
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "engine/export_report.h"
#include "ui/export_summary.h"
#include "ui/file_paths.h"
#include "ui/hyperlink.h"
#include "ui/main_dialog.h"
#include "ui/model_combo_box.h"
#include "ui/progress_bar.h"
#include "ui/qt_progress_reporter.h"
#include "ui/status_bar.h"
#include "ui/string_table_texts.h"
#include "ui/ui_strings.h"
#include "ui/user_prompts.h"

QWidget* CMainDlg::BuildResultsBox() {
  m_resultsBox = new QWidget(this);
  m_resultsBox->setObjectName(QStringLiteral("resultsBox"));
  m_results = new QTreeWidget(m_resultsBox);
  m_results->setObjectName(QStringLiteral("batchResults"));
  m_results->setRootIsDecorated(false);
  m_results->setHeaderLabels({tr("File"), tr("Units written"), tr("Skipped"), tr("Report")});
  m_results->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  m_results->setAccessibleName(tr("Results"));
  m_results->setAccessibleDescription(tr("One row for each file converted together"));
  auto* openFolder = new QPushButton(tr("Open &folder"), m_resultsBox);
  openFolder->setObjectName(QStringLiteral("openFolderButton"));
  openFolder->setAutoDefault(false);
  openFolder->setAccessibleDescription(tr("Shows the folder of the TMX files"));
  connect(openFolder, &QPushButton::clicked, this, &CMainDlg::OnOpenFolder);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(openFolder);
  auto* layout = new QVBoxLayout(m_resultsBox);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_results);
  layout->addLayout(row);
  m_resultsBox->hide();
  return m_resultsBox;
}

void CMainDlg::StartBatch(const QStringList& files) {
  if (IsBusy() || files.isEmpty()) return;
  ReadSelectedLanguage(m_sourceLanguages, m_sourceEncodings, m_sourceLang, m_sourceCodePage);
  ReadSelectedLanguage(m_targetLanguages, m_targetEncodings, m_targetLang, m_targetCodePage);
  // Existing TMX files are replaced only when the user agrees, once for all of them.
  int existing = 0;
  for (const QString& txt : files) {
    const std::optional<QString> tmx = DeriveTmxPath(txt);
    if (tmx && QFileInfo::exists(*tmx)) ++existing;
  }
  const bool replace =
      existing == 0 ||
      UserPrompts::ShowMessage(
          this, tr("%1 of the TMX files exist already. Do you want to replace them?").arg(existing),
          PromptIcon::Question, PromptButtons::YesNo, PromptAnswer::No) == PromptAnswer::Yes;
  if (m_resultsBox->isHidden()) {
    m_resultsBox->show();
    setFixedSize(width(), height() + m_resultsBox->sizeHint().height());
  }
  m_results->clear();
  m_batch.clear();
  for (const QString& txt : files) {
    const std::optional<QString> tmx = DeriveTmxPath(txt);
    if (!tmx || (!replace && QFileInfo::exists(*tmx))) {
      AddBatchRow(txt, QString(), tr("kept"), QString());
      continue;
    }
    m_batch << txt;
  }
  RunNextInBatch();
}

void CMainDlg::RunNextInBatch() {
  if (m_batch.isEmpty()) return;
  m_batchFile = m_batch.takeFirst();
  const QString tmx = DeriveTmxPath(m_batchFile).value_or(QString());
  StartExport(BuildRequest(m_batchFile, tmx));
}

void CMainDlg::OnBatchFileFinished(const ExportResult& result) {
  QString report;
  const QString reportPath = ReportPathFor(m_runTmxPath);
  if (result.stop == ExportResult::Stop::Done && ReportHasFindings(m_report) &&
      QFileInfo(reportPath) != QFileInfo(m_batchFile) &&
      WriteReportFile(reportPath, m_report, nullptr)) {
    report = QFileInfo(reportPath).fileName();
  }
  const QString written = result.stop == ExportResult::Stop::Failed
                              ? tr("failed")
                              : QString::number(result.unitsWritten);
  const QString skipped = QString::number(result.skipped.Total());
  AddBatchRow(m_batchFile, written, skipped, report);
  m_batchFile.clear();
  m_bar.reset();
  WaitCursor::End();
  if (!m_batch.isEmpty()) {
    RunNextInBatch();
    return;
  }
  m_statusBar->SetPaneText(0, UiText(IDS_IDLE));
  FinishCommand();
}

void CMainDlg::AddBatchRow(const QString& txt, const QString& written, const QString& skipped,
                           const QString& report) {
  auto* row = new QTreeWidgetItem(m_results, {QFileInfo(txt).fileName(), written, skipped,
                                              report.isEmpty() ? QStringLiteral("-") : report});
  row->setToolTip(0, txt);
  row->setData(0, Qt::UserRole, txt);
}

void CMainDlg::OnOpenFolder() {
  if (m_results->topLevelItemCount() == 0) return;
  const QString txt = m_results->topLevelItem(0)->data(0, Qt::UserRole).toString();
  const QString folder = QFileInfo(DeriveTmxPath(txt).value_or(txt)).absolutePath();
  CHyperLink::GotoURL(QUrl::fromLocalFile(folder).toString());
}

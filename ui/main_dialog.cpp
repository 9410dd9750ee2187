// SPDX-License-Identifier: MIT
#include "ui/main_dialog.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "engine/tmx_exporter.h"
#include "text/combo_model.h"
#include "text/language_catalogue.h"
#include "text/string_table.h"
#include "ui/about_dialog.h"
#include "ui/context_help.h"
#include "ui/dialog_look.h"
#include "ui/file_paths.h"
#include "ui/hyperlink.h"
#include "ui/language_dialog.h"
#include "ui/language_settings.h"
#include "ui/model_combo_box.h"
#include "ui/progress_bar.h"
#include "ui/qt_progress_reporter.h"
#include "ui/status_bar.h"
#include "ui/user_prompts.h"
#include "ui/web_addresses.h"

namespace {

constexpr int kProgressPane = 1;
constexpr int kStatePaneMargin = 300;  // pane 0 is the client width minus this

QString Text(int id) {
  return QString::fromUtf8(LoadStringText(id));
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

CMainDlg::CMainDlg(QWidget* parent) : QDialog(parent) {
  m_icon = AppIcon();
  m_sourceCodePage = 1252;
  m_targetCodePage = 1252;
  const LanguageSettings settings = LoadLanguageSettings();
  m_sourceLang = settings.sourceLang.toStdString();
  m_targetLang = settings.targetLang.toStdString();
  BuildControls();
  OnInitDialog();
}

CMainDlg::~CMainDlg() {
  SaveLanguageSettings(
      {QString::fromStdString(m_sourceLang), QString::fromStdString(m_targetLang)});
}

void CMainDlg::OnInitDialog() {
  setWindowIcon(m_icon);
  if (!CreateStatusBar()) return;

  // The notice in a smaller italic face.
  m_noticeFont = m_notice->font();
  const int pixels = QFontInfo(m_noticeFont).pixelSize();
  m_noticeFont.setPixelSize(pixels > 2 ? pixels - 2 : pixels);
  m_noticeFont.setItalic(true);
  m_notice->setFont(m_noticeFont);

  m_link->SetURL(QString::fromUtf8(kTmxProductPage));

  m_sourceLanguages->SetModel(LanguageComboModel(m_sourceLang));
  m_targetLanguages->SetModel(LanguageComboModel(m_targetLang));
  m_sourceEncodings->SetModel(EncodingComboModel(static_cast<unsigned>(m_sourceCodePage)));
  m_sourceEncodings->FitDroppedWidth();
  m_targetEncodings->SetModel(EncodingComboModel(static_cast<unsigned>(m_targetCodePage)));
  m_targetEncodings->FitDroppedWidth();

  m_help = new ContextHelp(this);
  m_txtEdit->setFocus();
}

bool CMainDlg::CreateStatusBar() {
  if (!m_statusBar) return false;
  m_statusBar->SetPanes({qMax(0, width() - kStatePaneMargin), 0});
  m_statusBar->SetPaneText(0, Text(IDS_IDLE));
  m_statusBar->SetPaneText(1, Text(IDS_PROGRESS));
  return true;
}

void CMainDlg::SetBusy(bool busy) {
  m_busyDepth += busy ? 1 : -1;
  if (m_busyDepth < 0) m_busyDepth = 0;
  // A command started inside a running one does not free the buttons of the outer one.
  const bool enable = m_busyDepth == 0;
  m_analyse->setEnabled(enable);
  m_protect->setEnabled(enable);
}

bool CMainDlg::RunAnalysis(const std::string& txtPath, LanguageList& languages) {
  CTmxExporter exporter;
  WaitCursor::Begin();
  SetBusy(true);
  CProgressBar bar(QStringLiteral("Progress"), m_statusBar, 100, false, kProgressPane);
  QtProgressReporter reporter(&bar, m_statusBar, [this] { return m_quitPosted; });
  const bool analysed = exporter.Analyse(txtPath, &languages, &reporter);
  // A finished analysis leaves "0%" in the pane.
  if (analysed) reporter.SetProgressText("0%");
  // The pane keeps the analysis's last text.
  bar.DestroyWindow();
  WaitCursor::End();
  return analysed;
}

void CMainDlg::ReadSelectedLanguage(ModelComboBox* languages, ModelComboBox* encodings,
                                    std::string& code, int& codePage) {
  ComboModel encodingModel = encodings->Model();
  GetSelectedLanguage(languages->Model(), &encodingModel, code, codePage);
  if (encodingModel.selected != encodings->GetCurSel())
    encodings->SetCurSel(encodingModel.selected);
}

void CMainDlg::SelectLanguage(ModelComboBox* languages, ModelComboBox* encodings,
                              const QString& text, std::string& code, int& codePage) {
  languages->SetCurSel(languages->FindStringExact(text));
  ReadSelectedLanguage(languages, encodings, code, codePage);
}

void CMainDlg::OnTxtPathChanged() {
  m_txtPath = m_txtEdit->text();
  if (!PathExists(m_txtPath)) return;
  if (const std::optional<QString> tmx = DeriveTmxPath(m_txtPath)) {
    m_tmxPath = *tmx;
    m_tmxEdit->setText(m_tmxPath);
  }
  LanguageList languages;
  if (RunAnalysis(ToEnginePath(m_txtPath), languages)) {
    if (!languages.empty()) {
      SelectLanguage(m_sourceLanguages, m_sourceEncodings, QString::fromUtf8(languages[0].name),
                     m_sourceLang, m_sourceCodePage);
    }
    if (languages.size() > 1) {
      SelectLanguage(m_targetLanguages, m_targetEncodings, QString::fromUtf8(languages[1].name),
                     m_targetLang, m_targetCodePage);
    }
  }
  SetBusy(false);
}

void CMainDlg::OnBrowseTxt() {
  const QString fallback = m_txtEdit->text();
  const FileRequest request{false, QtFileFilter(LoadStringText(IDS_TXT_FILTER)),
                            QStringLiteral("txt")};
  m_txtPath = UserPrompts::ChooseFile(this, request).value_or(fallback);
  // Writing the field runs the path-change steps, also when the text stays the same.
  if (m_txtEdit->text() == m_txtPath) {
    OnTxtPathChanged();
  } else {
    m_txtEdit->setText(m_txtPath);
  }
}

void CMainDlg::OnBrowseTmx() {
  const QString fallback = m_tmxEdit->text();
  const FileRequest request{true, QtFileFilter(LoadStringText(IDS_TMX_FILTER)),
                            QStringLiteral("tmx")};
  m_tmxPath = UserPrompts::ChooseFile(this, request).value_or(fallback);
  m_tmxEdit->setText(m_tmxPath);
}

void CMainDlg::OnAnalyse() {
  m_txtPath = m_txtEdit->text();
  if (m_txtPath.isEmpty()) {
    UserPrompts::ShowMessage(this, Text(IDS_NEED_TXT), PromptIcon::Exclamation, PromptButtons::Ok);
    return;
  }
  LanguageList languages;
  if (RunAnalysis(ToEnginePath(m_txtPath), languages)) {
    CLanguageDlg chooser(languages, this);
    const int result = m_runLanguageDialog ? m_runLanguageDialog(chooser) : chooser.exec();
    if (result == QDialog::Accepted && !chooser.Source().isEmpty() && !chooser.Target().isEmpty()) {
      // A catalogue code becomes its display name; any other text is looked up as it is.
      const QString source = QString::fromUtf8(LanguageDisplayName(chooser.Source().toStdString()));
      SelectLanguage(m_sourceLanguages, m_sourceEncodings, source, m_sourceLang, m_sourceCodePage);
      const QString target = QString::fromUtf8(LanguageDisplayName(chooser.Target().toStdString()));
      SelectLanguage(m_targetLanguages, m_targetEncodings, target, m_targetLang, m_targetCodePage);
    }
  }
  SetBusy(false);
}

void CMainDlg::OnProtect() {
  m_txtPath = m_txtEdit->text();
  m_tmxPath = m_tmxEdit->text();
  if (m_txtPath.isEmpty()) {
    UserPrompts::ShowMessage(this, Text(IDS_NEED_TXT), PromptIcon::Exclamation, PromptButtons::Ok);
    return;
  }
  if (m_tmxPath.isEmpty()) {
    UserPrompts::ShowMessage(this, Text(IDS_NEED_TMX), PromptIcon::Exclamation, PromptButtons::Ok);
    return;
  }
  WaitCursor::Begin();
  CTmxExporter exporter;
  ReadSelectedLanguage(m_sourceLanguages, m_sourceEncodings, m_sourceLang, m_sourceCodePage);
  ReadSelectedLanguage(m_targetLanguages, m_targetEncodings, m_targetLang, m_targetCodePage);
  CProgressBar bar(QStringLiteral("Progress"), m_statusBar, 100, false, kProgressPane);
  SetBusy(true);
  QtProgressReporter reporter(&bar, m_statusBar, [this] { return m_quitPosted; });
  ExportRequest request;
  request.txtPath = ToEnginePath(m_txtPath);
  request.tmxPath = ToEnginePath(m_tmxPath);
  request.sourceCode = m_sourceLang;
  request.sourceCodePage = m_sourceCodePage;
  request.targetCode = m_targetLang;
  request.targetCodePage = m_targetCodePage;
  reporter.BeginWaitCursor();
  reporter.SetPosition(0);
  const ExportResult result = exporter.Export(request, &reporter);
  reporter.EndWaitCursor();
  const int written = result.Count();
  // Once the exit is confirmed the dialog is on its way out: no result to report.
  if (!m_quitPosted) {
    QString message;
    if (written > 0) {
      message =
          MessageText(Text(IDS_FINISHED)).replace(QStringLiteral("%i"), QString::number(written));
    } else {
      message = MessageText(Text(IDS_NOTHING_EXPORTED));
      const QString detail = FailureDetail(result.error);
      if (written < 0 && !detail.isEmpty()) message += QStringLiteral("\n\n") + detail;
    }
    UserPrompts::ShowMessage(this, message, PromptIcon::Information, PromptButtons::Ok);
  }
  SetBusy(false);
  WaitCursor::End();
}

void CMainDlg::OnAbout() {
  CAboutDlg about(this);
  about.exec();
}

bool CMainDlg::ConfirmExit() {
  if (UserPrompts::ShowMessage(this, Text(IDS_CONFIRM_EXIT), PromptIcon::Question,
                               PromptButtons::YesNo) != PromptAnswer::Yes) {
    return false;
  }
  m_quitPosted = true;
  return true;
}

void CMainDlg::OnOK() {
  if (!ConfirmExit()) return;
  m_ending = true;
  QDialog::accept();
}

void CMainDlg::reject() {
  m_ending = true;
  QDialog::reject();
}

void CMainDlg::closeEvent(QCloseEvent* event) {
  if (!m_ending && isVisible()) {
    if (!ConfirmExit()) {
      event->ignore();
      return;
    }
    m_ending = true;
  }
  QDialog::closeEvent(event);
}

QMenu* CMainDlg::CreateSystemMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->addAction(QStringLiteral("&Close"), this, &QWidget::close);
  const QString aboutText = Text(IDS_ABOUTBOX);
  if (!aboutText.isEmpty()) {
    menu->addSeparator();
    menu->addAction(aboutText, this, &CMainDlg::OnAbout);
  }
  return menu;
}

void CMainDlg::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = CreateSystemMenu(this);
  menu->exec(event->globalPos());
  delete menu;
}

void CMainDlg::SetLanguageDialogRunner(LanguageDialogRunner runner) {
  m_runLanguageDialog = std::move(runner);
}

void CMainDlg::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* mime = event->mimeData();
  if (mime->hasUrls() && !mime->urls().isEmpty() && mime->urls().constFirst().isLocalFile()) {
    event->acceptProposedAction();
  }
}

void CMainDlg::dropEvent(QDropEvent* event) {
  const QMimeData* mime = event->mimeData();
  if (!mime->hasUrls() || mime->urls().isEmpty() || !mime->urls().constFirst().isLocalFile()) {
    return;
  }
  event->acceptProposedAction();
  const QString path = mime->urls().constFirst().toLocalFile();
  // Taken once the drop is over, as if typed: the analysis then runs outside the drag.
  QMetaObject::invokeMethod(
      this,
      [this, path] {
        if (m_txtEdit->text() == path) {
          OnTxtPathChanged();
        } else {
          m_txtEdit->setText(path);
        }
      },
      Qt::QueuedConnection);
}

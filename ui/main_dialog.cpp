// SPDX-License-Identifier: MIT
#include "ui/main_dialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "text/language_catalogue.h"
#include "ui/about_dialog.h"
#include "ui/accessibility.h"
#include "ui/combo_model.h"
#include "ui/command_runner.h"
#include "ui/context_help.h"
#include "ui/dialog_look.h"
#include "ui/file_paths.h"
#include "ui/hyperlink.h"
#include "ui/language_settings.h"
#include "ui/model_combo_box.h"
#include "ui/progress_bar.h"
#include "ui/recent_files.h"
#include "ui/run_messages.h"
#include "ui/status_bar.h"
#include "ui/string_table_texts.h"
#include "ui/target_language_model.h"
#include "ui/ui_strings.h"
#include "ui/ui_texts.h"
#include "ui/user_prompts.h"
#include "ui/web_addresses.h"

namespace {

constexpr int kStatePaneMargin = 300;  // pane 0 is the client width minus this

QString Text(int id) {
  return UiText(id);
}

}  // namespace

CMainDlg::CMainDlg(QWidget* parent) : QDialog(parent) {
  InstallAccessibleControls();
  m_icon = AppIcon();
  m_sourceCodePage = 1252;
  m_targetCodePage = 1252;
  const LanguageSettings settings = LoadLanguageSettings();
  m_sourceLang = settings.sourceLang.toStdString();
  m_targetLang = settings.targetLang.toStdString();
  m_runner = new CommandRunner(this);
  connect(m_runner, &CommandRunner::positionChanged, this, &CMainDlg::OnRunPosition);
  connect(m_runner, &CommandRunner::textChanged, this, &CMainDlg::OnRunText);
  connect(m_runner, &CommandRunner::analysisFinished, this, &CMainDlg::OnAnalysisFinished);
  connect(m_runner, &CommandRunner::exportFinished, this, &CMainDlg::OnExportFinished);
  BuildControls();
  OnInitDialog();
}

CMainDlg::~CMainDlg() {
  // The fields lose the focus while the dialog's children go, and their editingFinished must not
  // reach a dialog that is no longer one.
  for (QObject* field :
       {static_cast<QObject*>(m_txtEdit), static_cast<QObject*>(m_sourceLanguages->lineEdit()),
        static_cast<QObject*>(m_targetLanguages->lineEdit())}) {
    if (field) field->disconnect(this);
  }
  AbandonCommand();
  SaveSettings();
}

void CMainDlg::SaveSettings() const {
  // A language that is no catalogue entry has no code: the stored one stays.
  LanguageSettings settings = LoadLanguageSettings();
  if (!m_sourceLang.empty()) settings.sourceLang = QString::fromStdString(m_sourceLang);
  if (!m_targetLang.empty()) settings.targetLang = QString::fromStdString(m_targetLang);
  SaveLanguageSettings(settings);
}

void CMainDlg::OnLanguageChosen() {
  ReadSelectedLanguage(m_sourceLanguages, m_sourceEncodings, m_sourceLang, m_sourceCodePage);
  ReadSelectedLanguage(m_targetLanguages, m_targetEncodings, m_targetLang, m_targetCodePage);
  SaveSettings();
}

bool CMainDlg::PathChangePending() const {
  return m_pathTimer && m_pathTimer->isActive();
}

void CMainDlg::TakeTxtPath(const QString& path) {
  // Writing the field runs the path-change steps at once, also when the text stays the same.
  if (m_txtEdit->text() != path) m_txtEdit->setText(path);
  m_pathTimer->stop();
  OnTxtPathChanged();
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
  m_link->setAccessibleDescription(
      tr("Opens the page %1 in the web browser").arg(m_link->GetURL()));

  m_sourceLanguages->SetModel(LanguageComboModel(m_sourceLang));
  m_targetLanguages->SetModel(TargetLanguageComboModel(m_targetLang));
  m_sourceEncodings->SetModel(EncodingComboModel(static_cast<unsigned>(m_sourceCodePage)));
  m_sourceEncodings->FitDroppedWidth();
  m_targetEncodings->SetModel(EncodingComboModel(static_cast<unsigned>(m_targetCodePage)));
  m_targetEncodings->FitDroppedWidth();
  if (IsAllLanguagesCode(m_targetLang)) {
    // Each language is decoded in its own code page: the target encoding shows none.
    m_targetCodePage = 0;
    m_targetEncodings->SetCurSel(-1);
  }

  m_help = new ContextHelp(this);
  m_txtEdit->setFocus();
}

bool CMainDlg::CreateStatusBar() {
  if (!m_statusBar) return false;
  m_statusBar->SetPanes({qMax(0, width() - kStatePaneMargin), 0});
  m_statusBar->SetPaneText(0, Text(IDS_IDLE));
  m_statusBar->SetPaneText(1, QString());  // the progress pane is empty while idle
  return true;
}

void CMainDlg::ReadSelectedLanguage(ModelComboBox* languages, ModelComboBox* encodings,
                                    std::string& code, int& codePage) {
  ComboModel encodingModel = encodings->Model();
  GetSelectedLanguage(languages->Model(), &encodingModel, code, codePage);
  if (IsAllLanguagesCode(code)) {
    // Each language is decoded in its own code page: the target encoding shows none.
    codePage = 0;
    encodingModel.selected = -1;
  }
  if (encodingModel.selected != encodings->GetCurSel())
    encodings->SetCurSel(encodingModel.selected);
}

void CMainDlg::SelectLanguage(ModelComboBox* languages, ModelComboBox* encodings,
                              const QString& text, std::string& code, int& codePage) {
  languages->SetCurSel(languages->FindStringExact(text));
  ReadSelectedLanguage(languages, encodings, code, codePage);
}

void CMainDlg::OnTxtPathChanged() {
  m_pathTimer->stop();
  m_txtPath = CleanPastedPath(m_txtEdit->text());
  // A folder (a prefix of the path being typed) or anything else that is no file is left alone.
  if (!QFileInfo(m_txtPath).isFile()) return;
  AddRecentFile(QFileInfo(m_txtPath).absoluteFilePath());
  if (const std::optional<QString> tmx = DeriveTmxPath(m_txtPath)) {
    m_tmxPath = *tmx;
    m_derivedTmxPath = m_tmxPath;
    m_tmxEdit->setText(m_tmxPath);
  }
  if (m_command != Command::None) {
    // A running analysis gives way to the new one; a conversion, or a command showing its
    // result, finishes first and the file is analysed after it.
    if (m_command == Command::Protect || !m_runner->IsRunning()) {
      m_preselectPending = true;
      return;
    }
    AbandonCommand();
  }
  StartCommand(Command::Preselect);
  m_runner->StartAnalysis(ToEnginePath(m_txtPath));
}

void CMainDlg::OnBrowseTxt() {
  const QString fallback = m_txtEdit->text();
  FileRequest request{false, QtFileFilter(UiText(IDS_TXT_FILTER).toStdString()),
                      QStringLiteral("txt"), QString(), false};
  // Opens beside the file chosen before; several files make a batch.
  const QStringList recent = LoadRecentFiles();
  request.selected = !fallback.isEmpty() ? fallback : recent.value(0);
  request.multiple = true;
  const QStringList chosen = UserPrompts::ChooseFiles(this, request).value_or(QStringList());
  if (chosen.size() > 1) {
    StartBatch(chosen);
    return;
  }
  m_txtPath = chosen.isEmpty() ? fallback : chosen.constFirst();
  TakeTxtPath(m_txtPath);
}

void CMainDlg::OnBrowseTmx() {
  const QString fallback = m_tmxEdit->text();
  FileRequest request{true, QtFileFilter(UiText(IDS_TMX_FILTER).toStdString()),
                      QStringLiteral("tmx"), QString(), false};
  request.selected = !fallback.isEmpty()            ? fallback
                     : !m_txtEdit->text().isEmpty() ? QFileInfo(m_txtEdit->text()).absolutePath()
                                                    : QString();
  const std::optional<QString> chosen = UserPrompts::ChooseFile(this, request);
  // The file dialog asked before a chosen file is replaced: Protect does not ask again.
  if (chosen) m_derivedTmxPath.clear();
  m_tmxPath = chosen.value_or(fallback);
  m_tmxEdit->setText(m_tmxPath);
}

void CMainDlg::OnAnalyse() {
  m_txtPath = CleanPastedPath(m_txtEdit->text());
  if (m_txtPath.isEmpty()) {
    UserPrompts::ShowMessage(this, Text(IDS_NEED_TXT), PromptIcon::Exclamation, PromptButtons::Ok);
    return;
  }
  if (IsBusy()) return;
  if (const QString problem = RunMessages::TxtProblem(m_txtPath); !problem.isEmpty()) {
    UserPrompts::ShowMessage(this, problem, PromptIcon::Exclamation, PromptButtons::Ok);
    return;
  }
  StartCommand(Command::Analyse);
  m_runner->StartAnalysis(ToEnginePath(m_txtPath));
}

void CMainDlg::OnProtect() {
  m_txtPath = CleanPastedPath(m_txtEdit->text());
  m_tmxPath = CleanPastedPath(m_tmxEdit->text());
  if (m_txtPath.isEmpty()) {
    UserPrompts::ShowMessage(this, Text(IDS_NEED_TXT), PromptIcon::Exclamation, PromptButtons::Ok);
    return;
  }
  if (m_tmxPath.isEmpty()) {
    UserPrompts::ShowMessage(this, Text(IDS_NEED_TMX), PromptIcon::Exclamation, PromptButtons::Ok);
    return;
  }
  if (IsBusy()) return;
  ReadSelectedLanguage(m_sourceLanguages, m_sourceEncodings, m_sourceLang, m_sourceCodePage);
  ReadSelectedLanguage(m_targetLanguages, m_targetEncodings, m_targetLang, m_targetCodePage);
  // The TXT file is looked at before anything is asked about the TMX file.
  if (const QString problem = RunMessages::TxtProblem(m_txtPath); !problem.isEmpty()) {
    UserPrompts::ShowMessage(this, problem, PromptIcon::Exclamation, PromptButtons::Ok);
    return;
  }
  if (!ConfirmReplace(m_tmxPath)) return;
  StartExport(BuildRequest(m_txtPath, m_tmxPath));
}

QStringList CMainDlg::RecentFiles() const {
  return LoadRecentFiles();
}

ExportRequest CMainDlg::BuildRequest(const QString& txt, const QString& tmx) const {
  ExportRequest request;
  request.txtPath = ToEnginePath(txt);
  request.tmxPath = ToEnginePath(tmx);
  request.sourceCode = m_sourceLang;
  request.sourceCodePage = m_sourceCodePage;
  if (IsAllLanguagesCode(m_targetLang)) {
    request.allLanguages = true;
  } else {
    request.targetCode = m_targetLang;
    request.targetCodePage = m_targetCodePage;
  }
  return request;
}

bool CMainDlg::ConfirmReplace(const QString& tmxPath) {
  // A name the user chose in the file dialog was confirmed there; one typed by hand is the
  // user's own choice as well.
  if (tmxPath != m_derivedTmxPath || !PathExists(tmxPath)) return true;
  const QString question = tr(kReplaceTmxQuestion).arg(tmxPath);
  return UserPrompts::ShowMessage(this, question, PromptIcon::Question, PromptButtons::YesNo) ==
         PromptAnswer::Yes;
}

void CMainDlg::OnAbout() {
  CAboutDlg about(this);
  about.exec();
}

bool CMainDlg::ConfirmExit() {
  if (m_asking) return false;
  // A running conversion waits for the answer: it neither writes on nor puts its file in place.
  const bool converting = m_command == Command::Protect && m_runner->IsRunning();
  if (converting) m_runner->Hold(true);
  m_asking = true;
  const bool yes =
      UserPrompts::ShowMessage(
          this, converting ? RunMessages::ConfirmStopAndExit() : RunMessages::ConfirmExit(),
          PromptIcon::Question, PromptButtons::YesNo, PromptAnswer::No) == PromptAnswer::Yes;
  m_asking = false;
  if (!yes) {
    m_runner->Hold(false);
    ShowHeldResult();
    return false;
  }
  m_quitPosted = true;
  return true;
}

void CMainDlg::ShowHeldResult() {
  if (!m_heldResult) return;
  const ExportResult result = *m_heldResult;
  m_heldResult.reset();
  OnExportFinished(result);
}

void CMainDlg::OnOK() {
  if (!ConfirmExit()) return;
  AbandonCommand();
  m_ending = true;
  QDialog::accept();
}

void CMainDlg::reject() {
  if (m_asking) return;
  // An open list, or the completion proposed in a language field, closes first.
  for (ModelComboBox* list : {m_sourceLanguages, m_targetLanguages}) {
    if (list->view()->isVisible()) {
      list->hidePopup();
      return;
    }
    if (list->DropCompletion()) return;
  }
  AbandonCommand();
  m_ending = true;
  QDialog::reject();
}

void CMainDlg::Terminate() {
  if (m_ending) return;
  m_heldResult.reset();
  AbandonCommand();
  SaveSettings();
  m_terminated = true;
  m_ending = true;
  // Closes whatever modal box is open above the dialog, then the dialog.
  while (QWidget* modal = QApplication::activeModalWidget()) {
    if (modal == this) break;
    modal->close();
    if (QApplication::activeModalWidget() == modal) break;
  }
  QDialog::done(QDialog::Rejected);
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

void CMainDlg::keyPressEvent(QKeyEvent* event) {
  // Enter on a focused push button presses it, as Space does; elsewhere it is the Exit button's.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    // Enter in a path field takes the path (the field's editingFinished did), nothing more.
    if (focusWidget() == m_txtEdit || focusWidget() == m_tmxEdit) return;
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (button && button->isVisible() && button->isEnabled()) {
      button->click();
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
  // Alt with a letter is a button's mnemonic, never text: a field does not type it, also when
  // the button is disabled during a run.
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers held = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (held == Qt::AltModifier && !key->text().isEmpty()) return true;
  }
  return QDialog::eventFilter(watched, event);
}

QMenu* CMainDlg::CreateSystemMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->addAction(tr("&Close"), this, &QWidget::close);
  const QStringList recent = LoadRecentFiles();
  if (!recent.isEmpty()) {
    QMenu* files = menu->addMenu(tr("&Recent files"));
    files->setObjectName(QStringLiteral("recentFilesMenu"));
    for (const QString& path : recent) {
      files->addAction(path, this, [this, path] { TakeTxtPath(path); });
    }
  }
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
  QStringList paths;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  if (paths.size() > 1) {
    // Several files: converted one after another once the drop is over.
    QMetaObject::invokeMethod(
        this, [this, paths] { StartBatch(paths); }, Qt::QueuedConnection);
    return;
  }
  const QString path = paths.constFirst();
  // Taken once the drop is over, as if typed: the analysis then runs outside the drag.
  QMetaObject::invokeMethod(
      this, [this, path] { TakeTxtPath(path); }, Qt::QueuedConnection);
}

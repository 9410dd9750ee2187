// SPDX-License-Identifier: MIT
// CMainDlg: the main dialog, the whole visible tool. The user names a Vovuzaduz TXT file; the
// dialog derives the TMX name, analyses the file and preselects its first two languages;
// "A&nalyse" lets the user choose the pair, "&Protect" converts the file (the Target list's first
// entry, "(all languages)", writes every language of each unit). A status bar shows the
// state and, while a command runs, its progress. The engine runs on a worker thread (see
// CommandRunner); the window stays responsive, and leaving during a run (Exit confirmed, the
// close box, Escape) stops the run and waits for it: nothing is written. Leaving asks first,
// except with Escape.
#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/export_report.h"
#include "engine/export_request.h"
#include "engine/language_list.h"

struct AnalysisResult;
class CHyperLink;
class CProgressBar;
class CommandRunner;
class CLanguageDlg;
class CStatusBar;
class ContextHelp;
class ModelComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QVBoxLayout;

class CMainDlg : public QDialog {
  Q_OBJECT

 public:
  // A typed TXT path is taken after this pause (milliseconds).
  static constexpr int kPathPauseMs = 400;

  // Reads the two language settings.
  explicit CMainDlg(QWidget* parent = nullptr);
  // Stops a running command, releases the code page catalogue and writes the two language
  // settings.
  ~CMainDlg() override;
  CMainDlg(const CMainDlg&) = delete;
  CMainDlg& operator=(const CMainDlg&) = delete;

  // Commands. Analyse and Protect, and the analysis of a changed TXT path, start a run and
  // return; commandFinished tells when the run's results have been applied. A path typed into
  // the TXT field is taken after a short pause, or at once with Enter or when the field loses
  // the focus; only a path naming a regular file is analysed.
  void OnTxtPathChanged();
  // Stops a running conversion (nothing is written, an existing TMX file stays as it was).
  void OnCancel();
  // Converts several TXT files one after another (each into the TMX file beside it) and lists
  // the results in the window.
  void StartBatch(const QStringList& files);
  void OnOpenFolder();
  void OnBrowseTxt();
  void OnBrowseTmx();
  void OnAnalyse();
  void OnProtect();
  void OnAbout();
  // "E&xit" and the Enter key (outside a push button and a path field): asks, then ends the
  // dialog.
  void OnOK();
  // Escape closes an open drop-down list or the completion of a language field first; else it
  // ends the dialog at once (a running command is abandoned).
  void reject() override;
  // A termination signal: stops a running command (nothing written), keeps the settings and
  // ends the dialog without a question.
  void Terminate();
  bool Terminated() const { return m_terminated; }

  // The dialog's context menu: the window commands, a separator, the About entry.
  QMenu* CreateSystemMenu(QWidget* parent);

  // Dialog state. The target code is kAllLanguagesCode ("*", code page 0) while the Target list's
  // "(all languages)" entry is chosen.
  std::string SourceLanguageCode() const { return m_sourceLang; }
  std::string TargetLanguageCode() const { return m_targetLang; }
  int SourceCodePage() const { return m_sourceCodePage; }
  int TargetCodePage() const { return m_targetCodePage; }
  // True while a command runs or shows its result (Analyse and Protect disabled).
  bool IsBusy() const { return m_command != Command::None; }
  // The last TXT files taken, newest first.
  QStringList RecentFiles() const;
  // True while a typed TXT path waits for its pause to end.
  bool PathChangePending() const;
  // True once the user confirmed the exit.
  bool QuitPosted() const { return m_quitPosted; }

  CStatusBar* StatusBar() const { return m_statusBar; }
  ContextHelp* Help() const { return m_help; }

  // How the language selection dialog runs (tests answer it without showing it).
  using LanguageDialogRunner = std::function<int(CLanguageDlg&)>;
  void SetLanguageDialogRunner(LanguageDialogRunner runner);

 signals:
  // A command's run has ended and its results have been applied (not sent for a run that was
  // abandoned).
  void commandFinished();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  struct FileFrame;
  void BuildControls();
  // Pieces of BuildControls: the notices (added to body; returns the one whose width is set
  // last), the path rows, the language rows, the button row, tab order and connections.
  QLabel* AddNotices(QVBoxLayout* body);
  FileFrame BuildFileFrame();
  QGroupBox* BuildLanguageFrame(const FileFrame& files);
  QHBoxLayout* BuildButtonRow(QPushButton*& about);
  void ConnectControls(const FileFrame& files, QPushButton* about);
  // Accessible names and descriptions of the controls.
  void NameControls();
  QWidget* BuildResultsBox();
  void OnInitDialog();
  bool CreateStatusBar();
  enum class Command { None, Preselect, Analyse, Protect };

  // Runs (main_dialog_runs.cpp).
  void StartCommand(Command command);
  void FinishCommand();
  void AbandonCommand();
  void StartExport(const ExportRequest& request);
  void OnRunPosition(int percent);
  void OnRunText(const QString& text);
  void OnAnalysisFinished(const AnalysisResult& analysis);
  void OnExportFinished(const ExportResult& result);
  // Several files (main_dialog_batch.cpp).
  void RunNextInBatch();
  void OnBatchFileFinished(const ExportResult& result);
  void AddBatchRow(const QString& txt, const QString& written, const QString& skipped,
                   const QString& report);
  ExportRequest BuildRequest(const QString& txt, const QString& tmx) const;
  void ReportExport(const ExportResult& result);
  QString ResultMessage(const ExportResult& result) const;
  void SaveReport(const QString& path);
  void Preselect(const LanguageList& languages);
  void ChooseLanguages(const LanguageList& languages);

  bool ConfirmExit();
  // Shows what a run held back while the exit question was open.
  void ShowHeldResult();
  // Stores the chosen languages at once (an unknown language keeps the stored one).
  void OnLanguageChosen();
  void SaveSettings() const;
  void TakeTxtPath(const QString& path);
  // The window title with the percentage of a running conversion before it (-1: none).
  void SetTitleProgress(int percent);
  void ShowIdleButtons();
  // True when the TMX path may be written: it is not the derived name of an existing file, or
  // the user agreed to replace that file.
  bool ConfirmReplace(const QString& tmxPath);
  // Selects text in a language list and reads the selection back into code and code page.
  void SelectLanguage(ModelComboBox* languages, ModelComboBox* encodings, const QString& text,
                      std::string& code, int& codePage);
  void ReadSelectedLanguage(ModelComboBox* languages, ModelComboBox* encodings, std::string& code,
                            int& codePage);

  // Controls.
  CHyperLink* m_link = nullptr;
  ModelComboBox* m_targetEncodings = nullptr;
  ModelComboBox* m_sourceEncodings = nullptr;
  ModelComboBox* m_targetLanguages = nullptr;
  ModelComboBox* m_sourceLanguages = nullptr;
  QIcon m_icon;
  CStatusBar* m_statusBar = nullptr;
  QLineEdit* m_txtEdit = nullptr;
  QLineEdit* m_tmxEdit = nullptr;
  QPushButton* m_analyse = nullptr;
  QPushButton* m_protect = nullptr;
  QPushButton* m_exit = nullptr;
  QPushButton* m_cancel = nullptr;
  QTimer* m_pathTimer = nullptr;
  QWidget* m_resultsBox = nullptr;
  class QTreeWidget* m_results = nullptr;
  QLabel* m_notice = nullptr;
  ContextHelp* m_help = nullptr;

  // State.
  QString m_txtPath;
  QString m_tmxPath;
  std::string m_sourceLang;
  std::string m_targetLang;
  int m_sourceCodePage = 1252;
  int m_targetCodePage = 1252;
  QFont m_noticeFont;
  QString m_derivedTmxPath;  // the TMX path the dialog last derived from a TXT path
  QString m_runTmxPath;      // the TMX path of the latest Protect
  ExportReport m_report;     // filled by the latest Protect's run
  CommandRunner* m_runner = nullptr;
  std::unique_ptr<CProgressBar> m_bar;  // in pane 1 while a command runs
  Command m_command = Command::None;
  bool m_preselectPending = false;  // the TXT path changed while a command could not give way
  bool m_quitPosted = false;
  bool m_ending = false;
  QStringList m_batch;                       // files of a batch still to convert
  QString m_batchFile;                       // the file of the batch being converted
  bool m_asking = false;                     // the exit question is open
  bool m_terminated = false;                 // ended by a termination signal
  std::optional<ExportResult> m_heldResult;  // arrived while the exit question was open
  LanguageDialogRunner m_runLanguageDialog;
};

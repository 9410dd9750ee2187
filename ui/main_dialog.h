// SPDX-License-Identifier: MIT
// CMainDlg: the main dialog, the whole visible tool. The user names a Vovuzaduz TXT file; the
// dialog derives the TMX name, analyses the file and preselects its first two languages;
// "A&nalyse" lets the user choose the pair, "&Protect" converts the file. A status bar shows the
// state and, while a command runs, its progress. Leaving asks first, except with Escape.
#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <functional>
#include <string>

#include "engine/language_list.h"

class CHyperLink;
class CLanguageDlg;
class CStatusBar;
class ContextHelp;
class ModelComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

class CMainDlg : public QDialog {
  Q_OBJECT

 public:
  // Reads the two language settings.
  explicit CMainDlg(QWidget* parent = nullptr);
  // Releases the code page catalogue and writes the two language settings.
  ~CMainDlg() override;
  CMainDlg(const CMainDlg&) = delete;
  CMainDlg& operator=(const CMainDlg&) = delete;

  // Commands.
  void OnTxtPathChanged();
  void OnBrowseTxt();
  void OnBrowseTmx();
  void OnAnalyse();
  void OnProtect();
  void OnAbout();
  // "E&xit" and the Enter key: asks, then ends the dialog.
  void OnOK();
  // Escape ends the dialog at once.
  void reject() override;

  // The dialog's context menu: the window commands, a separator, the About entry.
  QMenu* CreateSystemMenu(QWidget* parent);

  // Dialog state.
  std::string SourceLanguageCode() const { return m_sourceLang; }
  std::string TargetLanguageCode() const { return m_targetLang; }
  int SourceCodePage() const { return m_sourceCodePage; }
  int TargetCodePage() const { return m_targetCodePage; }
  // True while a command runs (Analyse and Protect disabled).
  bool IsBusy() const { return m_busyDepth > 0; }
  // True once the user confirmed the exit: running commands stop at their next event check.
  bool QuitPosted() const { return m_quitPosted; }

  CStatusBar* StatusBar() const { return m_statusBar; }
  ContextHelp* Help() const { return m_help; }

  // How the language selection dialog runs (tests answer it without showing it).
  using LanguageDialogRunner = std::function<int(CLanguageDlg&)>;
  void SetLanguageDialogRunner(LanguageDialogRunner runner);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void OnInitDialog();
  bool CreateStatusBar();
  void SetBusy(bool busy);
  bool RunAnalysis(const std::string& txtPath, LanguageList& languages);
  bool ConfirmExit();
  // Selects text in a language list and reads the selection back into code and code page.
  void SelectLanguage(ModelComboBox* languages, ModelComboBox* encodings, const QString& text,
                      std::string& code, int& codePage);
  void ReadSelectedLanguage(ModelComboBox* languages, ModelComboBox* encodings, std::string& code,
                            int& codePage);

  // Controls.
  CHyperLink* m_link = nullptr;                // 1022
  ModelComboBox* m_targetEncodings = nullptr;  // 1013
  ModelComboBox* m_sourceEncodings = nullptr;  // 1012
  ModelComboBox* m_targetLanguages = nullptr;  // 1011
  ModelComboBox* m_sourceLanguages = nullptr;  // 1010
  QIcon m_icon;
  CStatusBar* m_statusBar = nullptr;
  QLineEdit* m_txtEdit = nullptr;    // 1002
  QLineEdit* m_tmxEdit = nullptr;    // 1004
  QPushButton* m_analyse = nullptr;  // 1015
  QPushButton* m_protect = nullptr;  // 1006
  QPushButton* m_exit = nullptr;     // 1
  QLabel* m_notice = nullptr;        // 1023
  ContextHelp* m_help = nullptr;

  // State.
  QString m_txtPath;
  QString m_tmxPath;
  std::string m_sourceLang;
  std::string m_targetLang;
  int m_sourceCodePage = 1252;
  int m_targetCodePage = 1252;
  QFont m_noticeFont;
  int m_busyDepth = 0;
  bool m_quitPosted = false;
  bool m_ending = false;
  LanguageDialogRunner m_runLanguageDialog;
};

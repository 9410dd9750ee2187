// SPDX-License-Identifier: MIT
#include "ui/user_prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <deque>

#include "ui/ui_strings.h"

namespace {

// A queued file dialog answer.
struct FileAnswer {
  bool chosen = false;
  QStringList paths;
};

struct Script {
  bool scripted = false;
  std::deque<PromptAnswer> answers;
  std::deque<FileAnswer> files;
  PromptAnswer questionDefault = PromptAnswer::No;
  std::vector<ShownMessage> messages;
  std::vector<FileRequest> fileRequests;
  std::function<void(const ShownMessage&)> whileShown;
};

Script& TheScript() {
  static Script script;
  return script;
}

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Question:
      return QMessageBox::Question;
    case PromptIcon::Exclamation:
      return QMessageBox::Warning;
    case PromptIcon::Information:
      break;
  }
  return QMessageBox::Information;
}

}  // namespace

namespace UserPrompts {

PromptAnswer ShowMessage(QWidget* parent, const QString& text, PromptIcon icon,
                         PromptButtons buttons, PromptAnswer defaultAnswer) {
  if (buttons == PromptButtons::Ok) defaultAnswer = PromptAnswer::Ok;
  ShownMessage shown{QString::fromUtf8(LoadUiText(IDS_APP_TITLE)), text, icon, buttons,
                     defaultAnswer};
  Script& script = TheScript();
  if (script.scripted) {
    script.messages.push_back(shown);
    if (script.whileShown) script.whileShown(shown);
    if (!script.answers.empty()) {
      const PromptAnswer answer = script.answers.front();
      script.answers.pop_front();
      return answer;
    }
    return buttons == PromptButtons::YesNo ? script.questionDefault : PromptAnswer::Ok;
  }
  QMessageBox box(
      ToQtIcon(icon), shown.caption, text,
      buttons == PromptButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
      parent);
  if (buttons == PromptButtons::YesNo) {
    box.setDefaultButton(defaultAnswer == PromptAnswer::No ? QMessageBox::No : QMessageBox::Yes);
  }
  box.setAccessibleName(shown.caption);
  const int result = box.exec();
  if (buttons == PromptButtons::Ok) return PromptAnswer::Ok;
  return result == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
}

std::optional<QString> ChooseFile(QWidget* parent, const FileRequest& request) {
  const std::optional<QStringList> chosen = ChooseFiles(parent, request);
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  return chosen->constFirst();
}

std::optional<QStringList> ChooseFiles(QWidget* parent, const FileRequest& request) {
  Script& script = TheScript();
  if (script.scripted) {
    script.fileRequests.push_back(request);
    if (script.files.empty()) return std::nullopt;
    const FileAnswer answer = script.files.front();
    script.files.pop_front();
    if (!answer.chosen) return std::nullopt;
    return answer.paths;
  }
  QFileDialog dialog(parent, QString(), QString(), request.filter);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save       ? QFileDialog::AnyFile
                     : request.multiple ? QFileDialog::ExistingFiles
                                        : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  // Beside the file chosen before, not in the working folder.
  const QFileInfo selected(request.selected);
  if (selected.isDir()) {
    dialog.setDirectory(selected.absoluteFilePath());
  } else if (!request.selected.isEmpty()) {
    dialog.setDirectory(selected.absolutePath());
    dialog.selectFile(selected.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles();
}

void SetScripted(bool scripted) {
  TheScript().scripted = scripted;
}
bool IsScripted() {
  return TheScript().scripted;
}
void QueueAnswer(PromptAnswer answer) {
  TheScript().answers.push_back(answer);
}
void QueueFile(std::optional<QString> path) {
  TheScript().files.push_back(
      FileAnswer{path.has_value(), path ? QStringList{*path} : QStringList()});
}
void QueueFiles(const QStringList& paths) {
  TheScript().files.push_back(FileAnswer{true, paths});
}
void SetDefaultQuestionAnswer(PromptAnswer answer) {
  TheScript().questionDefault = answer;
}
void SetWhileShown(std::function<void(const ShownMessage&)> hook) {
  TheScript().whileShown = std::move(hook);
}
const std::vector<ShownMessage>& Messages() {
  return TheScript().messages;
}
const std::vector<FileRequest>& FileRequests() {
  return TheScript().fileRequests;
}

void ClearLog() {
  Script& script = TheScript();
  script.messages.clear();
  script.fileRequests.clear();
  script.answers.clear();
  script.files.clear();
  script.questionDefault = PromptAnswer::No;
  script.whileShown = nullptr;
}

}  // namespace UserPrompts

// SPDX-License-Identifier: MIT
// Message boxes and file dialogs of the desktop tool, behind one seam: in normal use they are
// Qt's modal dialogs; a test (or the benchmark) queues the answers and reads back what was asked,
// so that nothing ever blocks on a dialog nobody can see.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

enum class PromptIcon { Question, Exclamation, Information };
enum class PromptButtons { Ok, YesNo };
enum class PromptAnswer { Ok, Yes, No };

// One message as it was shown (or would have been shown).
struct ShownMessage {
  QString caption;
  QString text;
  PromptIcon icon = PromptIcon::Information;
  PromptButtons buttons = PromptButtons::Ok;
  // The button that Enter presses (a question's Yes or No).
  PromptAnswer defaultAnswer = PromptAnswer::Ok;
};

// One file dialog as it was requested.
struct FileRequest {
  bool save = false;      // save-as rather than open
  QString filter;         // Qt filter syntax ("TMX files (*.tmx);;All files (*.*)")
  QString defaultSuffix;  // "txt" or "tmx"
  QString selected;       // the file the dialog starts on (in its folder), or a folder
  bool multiple = false;  // several existing files may be chosen
};

namespace UserPrompts {

// Shows a message box with the application name as caption and returns the answer. A question's
// Enter key gives defaultAnswer.
PromptAnswer ShowMessage(QWidget* parent, const QString& text, PromptIcon icon,
                         PromptButtons buttons, PromptAnswer defaultAnswer = PromptAnswer::Yes);

// Runs an open or save-as file dialog; the chosen full path, or nothing when cancelled.
std::optional<QString> ChooseFile(QWidget* parent, const FileRequest& request);
// The same for several files (request.multiple); nothing when cancelled.
std::optional<QStringList> ChooseFiles(QWidget* parent, const FileRequest& request);

// --- Scripted answers (tests, benchmark) -----------------------------------------------------
// While scripted, no dialog is ever shown: messages take the next queued answer (or the
// default answer: Ok for an OK box, No for a question) and file dialogs the next queued path.
void SetScripted(bool scripted);
bool IsScripted();
void QueueAnswer(PromptAnswer answer);
// A path, or std::nullopt for a cancelled file dialog.
void QueueFile(std::optional<QString> path);
// Several paths chosen at once in one file dialog.
void QueueFiles(const QStringList& paths);
// The answer given to every question when none is queued (No unless changed).
void SetDefaultQuestionAnswer(PromptAnswer answer);
// Called while a scripted message is "open", before its answer is taken: lets a test run the
// event loop as a user would while a box is on screen (nothing when empty).
void SetWhileShown(std::function<void(const ShownMessage&)> hook);
// Everything asked since the last ClearLog, in order.
const std::vector<ShownMessage>& Messages();
const std::vector<FileRequest>& FileRequests();
void ClearLog();

}  // namespace UserPrompts

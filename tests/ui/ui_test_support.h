// SPDX-License-Identifier: MIT
// What the desktop tool's tests share: an isolated settings store, scripted prompts, TXT files
// written on the fly, and the check of a TMX file against the DTD.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <string>
#include <thread>

class CMainDlg;

namespace uitest {

// Call first in initTestCase: test paths, the application's identity, settings in a folder of
// their own, scripted message boxes and file dialogs.
void InitEnvironment();
// Empties the settings store and the prompt log (call in init()).
void ResetState();

// Lets the main dialog's events run until no command is running or showing its result (at once
// when none is). False when that takes longer than a minute.
bool WaitUntilIdle(CMainDlg& dialog);

// A Vovuzaduz TXT file of `units` units, each with one segment for every code of `codes`.
void WriteTxt(const QString& path, int units, const QStringList& codes);
// A TXT file with one unit for each entry of `units`, holding a segment for each of its codes:
// "Unit N in CODE" followed by tail.
void WriteTxtUnits(const QString& path, const QList<QStringList>& units,
                   const QByteArray& tail = " with {\\b bold} text & more");
// A FIFO at path fed by a thread of its own with a TXT file that never ends: a header, then
// units until the reader closes its end. A run that reads it ends only when it is stopped.
class EndlessTxt {
 public:
  explicit EndlessTxt(const QString& path);
  // Ends the writer, also when nobody ever opened the FIFO.
  ~EndlessTxt();
  EndlessTxt(const EndlessTxt&) = delete;
  EndlessTxt& operator=(const EndlessTxt&) = delete;
  bool Created() const { return m_created; }

 private:
  void Feed();
  std::string m_path;
  bool m_created = false;
  std::atomic<bool> m_quit{false};
  std::atomic<bool> m_done{false};
  std::thread m_writer;
};

// Entries of a folder, sorted.
QStringList FolderEntries(const QString& folder);

// Empty when xmllint accepts the file against the TMX 1.4 DTD, else its complaint (also when the
// DTD or xmllint is missing: the check never weakens).
QString ValidateTmx(const QString& path);

}  // namespace uitest

#define VERIFY_VALID_TMX(path)                              \
  do {                                                      \
    const QString complaint_ = uitest::ValidateTmx(path);   \
    QVERIFY2(complaint_.isEmpty(), qPrintable(complaint_)); \
  } while (false)

// SPDX-License-Identifier: MIT
// Texts of the main dialog's messages beyond the string table's (%1 is a path), translated in
// the context "CMainDlg".
#pragma once

#include <QtGlobal>

// Asked before Protect replaces an existing file at the TMX path the dialog derived itself.
inline constexpr char kReplaceTmxQuestion[] =
    QT_TRANSLATE_NOOP("CMainDlg", "The TMX file %1 already exists.\nDo you want to replace it?");
// Added to the "nothing exported" message when a file exists at the TMX path.
inline constexpr char kExistingTmxKept[] =
    QT_TRANSLATE_NOOP("CMainDlg", "The existing file %1 was left as it was.");
// Added to the result of a conversion that skipped units or changed something (%1 is the report
// file's path).
inline constexpr char kSaveReportQuestion[] = QT_TRANSLATE_NOOP(
    "CMainDlg", "Do you want to save a report of the skipped units and the changes as %1?");
inline constexpr char kReportReplaced[] =
    QT_TRANSLATE_NOOP("CMainDlg", "The existing file of that name will be replaced.");
// Shown when the report cannot be written (%2 is the reason).
inline constexpr char kReportNotWritten[] =
    QT_TRANSLATE_NOOP("CMainDlg", "The report could not be written to %1:\n%2");

// SPDX-License-Identifier: MIT
// What the main dialog says about a run: why it failed, in plain words and cause first, the
// result of a conversion, and the questions asked before leaving.
#pragma once

#include <QString>

#include "engine/engine_error.h"

namespace RunMessages {

// Why a run failed ("The TXT file /x.txt cannot be read: permission denied."); empty for a run
// that did not fail (or was stopped).
QString FailureText(const EngineError& error);
// Why the TXT file at path cannot be read, looked at before a run: it is missing, a folder or
// unreadable. Empty when it can be read.
QString TxtProblem(const QString& path);
// A file in which no language (no unit) was found.
QString NotAnExport(const QString& path);
// The result of a conversion that wrote units; of one that read the file and wrote none.
QString Finished(int units);
QString NothingExported();
// The questions before leaving: while idle, and while a conversion runs.
QString ConfirmExit();
QString ConfirmStopAndExit();
// Shown when the user stopped a conversion.
QString Cancelled(const QString& tmxPath, bool kept);

}  // namespace RunMessages

// SPDX-License-Identifier: MIT
// What the main dialog adds to the result of a conversion: the units skipped by reason, whether
// the run's report is worth offering, and the report file beside the TMX file.
#pragma once

#include <QString>

#include "engine/export_report.h"

// "2 units skipped (no target segment: 2)", naming only the reasons that occurred; empty when no
// unit was skipped.
QString SkippedUnitsText(const SkipCounts& skipped);

// True when units were skipped or something was changed on the way (characters left out,
// invalid dates ignored, repeated fields, unpaired inline elements).
bool ReportHasFindings(const ExportReport& report);

// The report's name beside the TMX file: ".report.json" in place of a final ".tmx" (any case),
// otherwise added ("/tm/a.tmx" -> "/tm/a.report.json", "/tm/a.xml" -> "/tm/a.xml.report.json").
QString ReportPathFor(const QString& tmxPath);

// Writes the report as JSON to path as the TMX file is written (a temporary file beside it
// renamed into place once complete and synced, a link followed, mode and owner kept): a failure
// leaves no partial file and an existing file as it was. False with the reason in *error.
bool WriteReportFile(const QString& path, const ExportReport& report, QString* error);

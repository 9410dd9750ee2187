// SPDX-License-Identifier: MIT
// The reports of a run (one per file) as a JSON document. The keys are described in the README.
#pragma once

#include <string>
#include <vector>

#include "engine/export_report.h"

// The document, indented by two blanks; text that is not UTF-8 is written with U+FFFD.
std::string ReportJson(const std::vector<ExportReport>& reports);

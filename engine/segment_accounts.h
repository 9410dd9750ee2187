// SPDX-License-Identifier: MIT
// The account of a unit's Seg lines: each one is written, stands in a skipped unit, or is left
// out for a reason (its code names no language, its language is not chosen, a later Seg line of
// its language counts, or the language's last one is empty).
#pragma once

#include "engine/export_report.h"
#include "engine/segment_choice.h"
#include "engine/txt_unit.h"

// Counts what became of the Seg lines of unit, as choice chose from them: the segments left out
// of a written unit in skipped.segments; with a report, every Seg line by language, and the
// lines of those left out for an unknown code or for a later one of their language.
void AccountSegments(const TxtUnit& unit, const SegmentChoice& choice, bool written,
                     SkipCounts& skipped, ExportReport* report);

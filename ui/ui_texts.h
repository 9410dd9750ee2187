// SPDX-License-Identifier: MIT
// Texts of the main dialog's messages beyond the string table's (%1 is a path).
#pragma once

// Asked before Protect replaces an existing file at the TMX path the dialog derived itself.
inline constexpr char kReplaceTmxQuestion[] =
    "The TMX file %1 already exists.\nDo you want to replace it?";
// Added to the "nothing exported" message when a file exists at the TMX path.
inline constexpr char kExistingTmxKept[] = "The existing file %1 was left as it was.";

// SPDX-License-Identifier: MIT
// Code page 1361 (Korean Johab), which ICU lacks: Hangul from the bit fields of the pair, symbols
// and Hanja through their KS X 1001 position in ICU's EUC-KR.
#pragma once

#include <memory>

#include "tools/built_table.h"

// The table before corrections; nullptr when ICU has no EUC-KR converter.
std::unique_ptr<BuiltTable> BuildJohabTable(char16_t defaultChar);

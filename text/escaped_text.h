// SPDX-License-Identifier: MIT
// Text from the user or from a file (file names above all) written so that every byte of it can
// be told back: control characters and bytes that are not UTF-8 become C escapes.
#pragma once

#include <string>
#include <string_view>

// The text with every byte a terminal could act on written as a C escape: control characters
// (0x00-0x1F, 0x7F and the C1 range U+0080-U+009F) and bytes that are not UTF-8, as \a \b \t
// \n \v \f \r or three octal digits (ESC is \033). A backslash becomes \\ so that an escape
// cannot be confused with the same characters in the text; with escapeQuote a single quote
// becomes \' as well. Other text is unchanged.
std::string EscapeText(std::string_view text, bool escapeQuote = false);

// Whether the text is well-formed UTF-8 (no overlong forms, surrogates or code points above
// U+10FFFF).
bool IsUtf8(std::string_view text);

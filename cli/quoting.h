// SPDX-License-Identifier: MIT
// Text from the user or from a file, made safe to print on a terminal: file names in messages,
// language codes, the analysis's language names.
#pragma once

#include <string>
#include <string_view>

// The text with every byte a terminal could act on written as a C escape: control characters
// (0x00-0x1F, 0x7F and the C1 range U+0080-U+009F) and bytes that are not UTF-8, as \a \b \t
// \n \v \f \r or three octal digits (ESC is \033). A backslash becomes \\ so that an escape
// cannot be confused with the same characters in the text. Other text is unchanged.
std::string EscapeControls(std::string_view text);

// The text between single quotes for a message, escaped as EscapeControls does; a single quote
// inside becomes \'. "legal.txt" gives 'legal.txt', "a<ESC>b" gives 'a\033b'.
std::string QuoteName(std::string_view text);

// How a message names a file: "standard input" and "standard output" for the descriptors the
// command line reads and writes through /dev/stdin and /dev/stdout, otherwise QuoteName(path).
std::string ShownPath(std::string_view path);

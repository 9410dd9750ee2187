// SPDX-License-Identifier: MIT
// RTF byte escapes ("\'e9") of a segment, decoded before the segment is read in its code page.
#pragma once

#include <string>
#include <string_view>

// Replaces every "\'" followed by a hexadecimal digit (and a second one, which is optional) by
// the byte of that value; the character after the apostrophe and the one after it are always
// taken with the escape ("\'4g" gives the byte 4). An escape whose first character is not a
// hexadecimal digit stays as it is; fewer than two characters after the apostrophe end the
// decoding. The walk is textual: "\\'41" decodes as well. A NUL (as a byte or as "\'00") is
// kept like any other byte: the writer leaves the character out, and a report notes it.
std::string DecodeByteEscapes(std::string_view segment);
// The same into out (emptied first).
void DecodeByteEscapes(std::string_view segment, std::string& out);
// The same without a copy when nothing is decoded: the result is the segment itself, or the
// decoded text in buffer.
std::string_view ByteEscapesDecoded(std::string_view segment, std::string& buffer);
// The segment of an 8-bit file: its bytes in codePage with the byte escapes decoded (the rules
// above), appended to out as UTF-16; bytes is scratch. A code page of one unit per byte decodes
// the runs between escapes straight from the segment.
void DecodeWithByteEscapes(std::string_view segment, unsigned codePage, std::u16string& out,
                           std::string& bytes);
// The segment of a Unicode file: its characters are UTF-8, and its byte escapes are bytes in
// codePage (as RTF gives them), decoded run by run; the same rules as above otherwise. Appends
// to out; bytes is scratch.
void DecodeUnicodeWithByteEscapes(std::string_view segment, unsigned codePage, std::u16string& out,
                                  std::string& bytes);

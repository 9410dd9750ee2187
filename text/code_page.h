// SPDX-License-Identifier: MIT
// Conversion between 8-bit text in a Windows code page and UTF-16.
// 65001 is UTF-8 (own routines), 0 means Windows-1252. Single- and double-byte code pages decode
// through tables compiled into the program that give what Windows gives, GB18030 by its own rule
// over such tables. Only UTF-8 is encoded; of the other code pages just the length of an encoded
// character is known (EncodedByteCount).
#pragma once

#include <string>
#include <string_view>

inline constexpr unsigned kCodePageAnsi = 0;  // the "system ANSI" code page: Windows-1252 here
inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned kFlagErrInvalidChars = 8;  // ToWide with 65001: fail on invalid UTF-8

// Converts srcLen bytes (-1: zero-terminated, the terminator converted and counted) to UTF-16.
// dstSize 0 measures only. Returns the units written (or needed); 0 on failure.
int ToWide(unsigned codePage, unsigned flags, const char* src, int srcLen, char16_t* dst,
           int dstSize);
// Converts srcLen UTF-16 units (-1: zero-terminated) to UTF-8 (code page 65001; any other code
// page fails). dstSize 0 measures only. Returns the bytes written (or needed); 0 on failure.
int ToNarrow(unsigned codePage, unsigned flags, const char16_t* src, int srcLen, char* dst,
             int dstSize, const char* defaultChar, bool* usedDefaultChar);
// False for the code pages whose text is no sequence of 8-bit characters (UTF-16, UTF-32, UTF-7):
// segment bytes cannot be decoded with them.
bool CanDecodeBytes(unsigned codePage);
// True when 8-bit text in the code page can be converted (never for those above).
bool IsSupportedCodePage(unsigned codePage);

// Convenience forms used by the engine: whole strings in, whole strings out.
// An unknown code page or a failed conversion gives the empty string.
std::u16string Decode(unsigned codePage, std::string_view bytes);
void DecodeAppend(unsigned codePage, std::string_view bytes, std::u16string& out);

struct DecodeTable;
// The table with which DecodeAppend decodes the code page's bytes; nullptr when it decodes them
// otherwise (UTF-8, GB18030) or not at all.
const DecodeTable* DecodeTableOf(unsigned codePage);

// The text as UTF-8, appended to out; an unpaired surrogate becomes U+FFFD. (The TMX writer uses
// the XML-safe form of the same encoder, see xml_chars.h.)
void AppendUtf8(std::u16string_view text, std::string& out);

// Number of bytes that one UTF-16 unit takes in the code page (1 or 2; 4 for a UTF-8 pair half
// counted as 2), used to count RTF \uc fallbacks.
int EncodedByteCount(unsigned codePage, std::u16string_view text);

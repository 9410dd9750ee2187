// SPDX-License-Identifier: MIT
// Code page 54936 (GB18030): one, two or four bytes a character.
#pragma once

#include <cstddef>

// Decodes n bytes. d may be nullptr to count only; otherwise at most capacity units are written.
// A sequence without mapping gives U+FFFD; so does an ill-formed one, which takes its lead byte
// only (and a trail byte 0xFF, which nothing could start with), and an incomplete one at the end,
// which takes the rest. Returns the units written (or needed).
std::size_t DecodeGb18030(const unsigned char* s, std::size_t n, char16_t* d, std::size_t capacity);

// SPDX-License-Identifier: MIT
// The --report file: written whole or not at all.
#pragma once

#include <functional>
#include <string>

// Writes text to path through a temporary file in the same folder that is renamed over path
// once complete, so that a failure leaves whatever was at path as it was. False with the
// system's reason in error.
bool WriteWholeFile(const std::string& path, const std::string& text, std::string& error);

// The same for a text made piece by piece: produce writes it to the descriptor it is given and
// returns false (errno set) when a write failed.
bool WriteFileWith(const std::string& path, const std::function<bool(int fd)>& produce,
                   std::string& error);

// Writes size bytes at data to fd, whatever the writes take at a time; false with errno set.
bool WriteAll(int fd, const char* data, size_t size);

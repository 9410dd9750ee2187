// SPDX-License-Identifier: MIT
// The --report file: written whole or not at all.
#pragma once

#include <string>

// Writes text to path through a temporary file in the same folder that is renamed over path
// once complete, so that a failure leaves whatever was at path as it was. False with the
// system's reason in error.
bool WriteWholeFile(const std::string& path, const std::string& text, std::string& error);

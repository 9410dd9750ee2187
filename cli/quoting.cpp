// SPDX-License-Identifier: MIT
#include "cli/quoting.h"

#include "text/escaped_text.h"

std::string EscapeControls(std::string_view text) {
  return EscapeText(text);
}

std::string QuoteName(std::string_view text) {
  std::string quoted(1, '\'');
  quoted += EscapeText(text, true);
  quoted.push_back('\'');
  return quoted;
}

std::string ShownPath(std::string_view path) {
  if (path == "/dev/stdin") return "standard input";
  if (path == "/dev/stdout") return "standard output";
  return QuoteName(path);
}

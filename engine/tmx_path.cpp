// SPDX-License-Identifier: MIT
#include "engine/tmx_path.h"

#include "engine/file_system.h"

std::string DeriveTmxPath(const std::string& txtPath) {
  const size_t slash = LastSeparator(txtPath);
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = txtPath.rfind('.');
  if (dot != std::string::npos && dot > nameStart) return txtPath.substr(0, dot) + ".tmx";
  return txtPath + ".tmx";
}

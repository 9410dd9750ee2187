// SPDX-License-Identifier: MIT
// Progress of a conversion as one updating line on stderr.
#pragma once

#include <cstdio>
#include <string>

#include "engine/progress.h"

class TerminalProgress : public ProgressReporter {
 public:
  explicit TerminalProgress(FILE* err) : m_err(err) {}
  ~TerminalProgress() override;
  void SetProgressPos(int percent) override;
  void SetStatusText(const std::string& text) override;

 private:
  FILE* m_err;
  std::string m_status = "Working";
  int m_shown = -1;
};

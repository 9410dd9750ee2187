// SPDX-License-Identifier: MIT
// The functions the page's worker calls (through cwrap), and the progress it hears of. Each
// function returns its JSON in a buffer that stays valid until the next call.
#include <emscripten/emscripten.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "engine/progress.h"
#include "web/web_session.h"

// Hands the progress to the worker's script (which passes it on to the page).
EM_JS(void, velmar_post_progress, (int percent, double units), {
  if (Module.onVelmarProgress) Module.onVelmarProgress(percent, units);
});

namespace {

// Tells the page when the percentage changes, or at the latest every tenth of a second, so that
// the counted units move on too; a message per call would cost more than the conversion.
class WorkerProgress : public ProgressReporter {
 public:
  void SetUnits(int64_t units) override { m_units = units; }
  void SetPosition(int percent) override {
    const double now = emscripten_get_now();
    if (percent == m_percent && now - m_posted < 100.0) return;
    m_percent = percent;
    m_posted = now;
    velmar_post_progress(percent, static_cast<double>(m_units));
  }

 private:
  int m_percent = -1;
  int64_t m_units = 0;
  double m_posted = 0.0;
};

std::string g_result;

const char* Keep(std::string text) {
  g_result = std::move(text);
  return g_result.c_str();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* velmar_catalogue() {
  return Keep(CatalogueJson());
}

EMSCRIPTEN_KEEPALIVE const char* velmar_analyse(const char* txtPath) {
  return Keep(AnalyseJson(txtPath, nullptr));
}

// Converts into the file outputPath (the page's collecting device); see ConvertJson.
EMSCRIPTEN_KEEPALIVE const char* velmar_convert(const char* requestJson, const char* outputPath) {
  const int fd = ::open(outputPath, O_WRONLY);
  if (fd < 0) return Keep(R"({"outcome":"failed","message":"The output cannot be opened."})");
  WorkerProgress progress;
  std::string result = ConvertJson(requestJson, fd, &progress);
  ::close(fd);
  return Keep(std::move(result));
}
}

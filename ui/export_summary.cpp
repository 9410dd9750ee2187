// SPDX-License-Identifier: MIT
#include "ui/export_summary.h"

#include <QFile>
#include <QStringList>
#include <vector>

#include "engine/output_file.h"
#include "engine/report_json.h"

QString SkippedUnitsText(const SkipCounts& skipped) {
  const int64_t total = skipped.Total();
  if (total <= 0) return {};
  const struct {
    int64_t count;
    const char* reason;
  } reasons[] = {{skipped.noSource, "no source segment"},
                 {skipped.noTarget, "no target segment"},
                 {skipped.unresolved, "unknown language code"}};
  QStringList parts;
  for (const auto& entry : reasons) {
    if (entry.count > 0) {
      parts << QStringLiteral("%1: %2").arg(QLatin1String(entry.reason)).arg(entry.count);
    }
  }
  const QString units = total == 1 ? QStringLiteral("unit") : QStringLiteral("units");
  return QStringLiteral("%1 %2 skipped (%3)")
      .arg(total)
      .arg(units, parts.join(QStringLiteral(", ")));
}

bool ReportHasFindings(const ExportReport& report) {
  return report.skipped.Total() > 0 || report.forbiddenCharacters.Count() > 0 ||
         report.invalidDates.Count() > 0 || report.repeatedFields.Count() > 0 ||
         report.unpairedInline.Count() > 0;
}

QString ReportPathFor(const QString& tmxPath) {
  const QString extension = QStringLiteral(".tmx");
  QString base = tmxPath;
  if (base.endsWith(extension, Qt::CaseInsensitive)) base.chop(extension.size());
  return base + QStringLiteral(".report.json");
}

bool WriteReportFile(const QString& path, const ExportReport& report, QString* error) {
  const std::string json = ReportJson(std::vector<ExportReport>{report});
  EngineError failure;
  if (WriteWholeFile(QFile::encodeName(path).toStdString(), json, failure)) return true;
  if (error) *error = QString::fromLocal8Bit(failure.reason.c_str());
  return false;
}

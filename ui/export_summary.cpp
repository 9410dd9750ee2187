// SPDX-License-Identifier: MIT
#include "ui/export_summary.h"

#include <QCoreApplication>
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
  } reasons[] = {{skipped.noSource, QT_TRANSLATE_NOOP("ExportSummary", "no source segment")},
                 {skipped.noTarget, QT_TRANSLATE_NOOP("ExportSummary", "no target segment")},
                 {skipped.unresolved, QT_TRANSLATE_NOOP("ExportSummary", "unknown language code")}};
  QStringList parts;
  for (const auto& entry : reasons) {
    if (entry.count > 0) {
      parts << QStringLiteral("%1: %2")
                   .arg(QCoreApplication::translate("ExportSummary", entry.reason))
                   .arg(entry.count);
    }
  }
  const QString reasonList = parts.join(QStringLiteral(", "));
  if (total == 1) {
    return QCoreApplication::translate("ExportSummary", "1 unit skipped (%1)").arg(reasonList);
  }
  return QCoreApplication::translate("ExportSummary", "%1 units skipped (%2)")
      .arg(total)
      .arg(reasonList);
}

bool ReportHasFindings(const ExportReport& report) {
  return report.skipped.Total() > 0 || report.forbiddenCharacters.Count() > 0 ||
         report.invalidDates.Count() > 0 || report.repeatedFields.Count() > 0 ||
         report.unpairedInline.Count() > 0 || report.unknownCodeSegments.Count() > 0 ||
         report.repeatedSegments.Count() > 0 || report.fieldsBetweenUnits.Count() > 0;
}

QString ReportPathFor(const QString& tmxPath) {
  const QString extension = QStringLiteral(".tmx");
  QString base = tmxPath;
  if (base.endsWith(extension, Qt::CaseInsensitive)) base.chop(extension.size());
  return base + QStringLiteral(".report.json");
}

bool WriteReportFile(const QString& path, const ExportReport& report, QString* error) {
  const std::string json = ReportJson(std::vector<ExportReport>{report});
  const EngineError failure = WriteWholeFile(QFile::encodeName(path).toStdString(), json);
  if (!failure.Failed()) return true;
  if (error) *error = QString::fromLocal8Bit(failure.reason.c_str());
  return false;
}

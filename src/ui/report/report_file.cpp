#include "ui/report/report_file.h"

#include "ui/common/file_places.h"

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <stdexcept>

namespace ui {
namespace {

// Device units of the PDF per inch: fine enough that no coordinate or glyph
// position is visibly rounded.
constexpr int kPdfResolution = 1200;

}  // namespace

QByteArray ReportPdf(const ReportContent& content) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(QStringLiteral("Stress state"));
    writer.setCreator(content.program);
    QPainter painter;
    if (!painter.begin(&writer))
      return {};
    PaintReport(painter, content);
    painter.end();
  }
  return buffer.data();
}

void SaveReport(const QString& path, const ReportContent& content) {
  // The page is complete before the file is touched.
  const QByteArray pdf = ReportPdf(content);
  if (pdf.isEmpty())
    throw std::runtime_error(
        QStringLiteral("Could not save the report to %1: %2")
            .arg(QDir::toNativeSeparators(path), QStringLiteral("the PDF could not be drawn"))
            .toStdString());
  SaveBytes(path, pdf, QStringLiteral("report"));
}

}  // namespace ui

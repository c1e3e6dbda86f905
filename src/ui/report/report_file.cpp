#include "ui/report/report_file.h"

#include "ui/common/file_places.h"

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
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
  const auto failure = [&path](const QString& reason) {
    return std::runtime_error(QStringLiteral("Could not save the report to %1: %2")
                                  .arg(QDir::toNativeSeparators(path), reason)
                                  .toStdString());
  };
  // The page is complete before the file is touched.
  const QByteArray pdf = ReportPdf(content);
  if (pdf.isEmpty())
    throw failure(QStringLiteral("the PDF could not be drawn"));

  // The bytes go to a temporary file beside the destination, which replaces
  // the destination on commit; unless committed, it is removed.
  // A FIFO or a device would be replaced by a regular file: refused.
  if (const QString problem = DestinationProblem(path); !problem.isEmpty())
    throw failure(problem);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    throw failure(file.errorString());
  // A write that fills the disk may store part of its bytes and report no
  // error; writing the rest then fails with the system's reason. Each write's
  // count is checked, so that a short file is never committed.
  qint64 written = 0;
  while (written < pdf.size()) {
    const qint64 count = file.write(pdf.constData() + written, pdf.size() - written);
    if (count <= 0)
      throw failure(file.errorString());
    written += count;
  }
  if (!file.flush() || !file.commit())
    throw failure(file.errorString());
}

}  // namespace ui

#include "windows/LibraryReports.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "core/EnvelopeEdit.h"
#include "views/Windows1252.h"

TLibraryReport::TLibraryReport(TLibraryKind kind, const char* objectName, const char* title, QObject* parent)
    : QObject(parent), kind_(kind), title_(QString::fromLatin1(title)) {
  setObjectName(QString::fromLatin1(objectName));
}

namespace {
QSize RowPictureSize(TLibraryKind kind) { return kind == TLibraryKind::WavePresets ? QSize(150, 150) : QSize(150, 75); }
}  // namespace

QPolygon TLibraryReport::RowLine(const TInstrumentDocument& doc, int n) const {
  const bool presets = kind_ == TLibraryKind::WavePresets;
  const QSize size = RowPictureSize(kind_);
  QPolygon line;
  if (presets) {
    const TWavePreset& w = doc.WavePresets[n];
    for (int i = 0; i < TWavePreset::kSamples; ++i) line << QPoint(i, 149 - w.Data[i]);
  } else {
    const TVolumeEnvelope& e = doc.VolumeEnvelopes[n];
    for (int i = 0; i < e.Count; ++i) line << QPoint(EnvelopeX(e.X[i], size.width()), EnvelopeY(e.Y[i], size.height()));
  }
  return line;
}

QImage TLibraryReport::RowPicture(const TInstrumentDocument& doc, int n) const {
  QImage pic(RowPictureSize(kind_), QImage::Format_RGB32);
  pic.fill(Qt::white);
  QPainter p(&pic);
  p.setPen(Qt::black);
  p.drawPolyline(RowLine(doc, n));
  return pic;
}

TReportResult TLibraryReport::Print(QPagedPaintDevice& device, const TInstrumentDocument& doc) const {
  TReportResult r;
  const int count = kind_ == TLibraryKind::WavePresets ? doc.WavePresets.Count() : doc.VolumeEnvelopes.Count();
  QPainter p(&device);
  if (!p.isActive()) return r;
  const double dpi = device.logicalDpiY();
  const int pageW = device.width(), pageH = device.height();
  const int rowH = static_cast<int>(dpi * 0.9), picH = static_cast<int>(dpi * 0.75);
  const int picW = kind_ == TLibraryKind::WavePresets ? picH : picH * 2;
  const int header = static_cast<int>(dpi * 0.6);
  QFont titleFont("DejaVu Sans", 14, QFont::Bold), rowFont("DejaVu Sans", 11);
  const int perPage = std::max(1, (pageH - header) / rowH);
  const int pages = std::max(1, (count + perPage - 1) / perPage);
  int entry = 0;  // the row counter: 0 before the first row
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) device.newPage();
    p.setFont(titleFont);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, pageW, header), Qt::AlignLeft | Qt::AlignVCenter, title_);
    p.setFont(rowFont);
    p.drawText(QRect(0, 0, pageW, header), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(page).arg(pages));
    p.drawLine(0, header - 4, pageW, header - 4);
    for (int row = 0; row < perPage && entry < count; ++row) {
      ++entry;
      const int y = header + row * rowH;
      const QRect picRect(0, y + (rowH - picH) / 2, picW, picH);
      // The row picture drawn as lines at the device's resolution.
      const QSize size = RowPictureSize(kind_);
      p.save();
      p.translate(picRect.topLeft());
      p.scale(double(picW) / size.width(), double(picH) / size.height());
      p.setPen(QPen(Qt::black, 0));
      p.drawPolyline(RowLine(doc, entry));
      p.restore();
      p.drawRect(picRect);
      const std::string& name =
          kind_ == TLibraryKind::WavePresets ? doc.WavePresets[entry].Name : doc.VolumeEnvelopes[entry].Name;
      p.drawText(QRect(picW + static_cast<int>(dpi * 0.3), y, pageW - picW, rowH), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("%1.  %2").arg(entry).arg(FromWindows1252(name)));
      ++r.Rows;
    }
    ++r.Pages;
  }
  return r;
}

void TLibraryReport::Preview(const TInstrumentDocument& doc, QWidget* parent) const {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(title_);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setObjectName("ReportPreview");
  preview.setWindowTitle(title_);
  connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
          [this, &doc](QPrinter* pr) { Print(*pr, doc); });
  preview.exec();
}

// The printed reports of the two libraries: one row per entry with its
// picture and name, shown in a print preview through Qt's print support.
#pragma once

#include <QImage>
#include <QObject>
#include <QPolygon>

#include "core/LibraryManager.h"

class QPagedPaintDevice;
class QWidget;

struct TReportResult {
  int Pages = 0;
  int Rows = 0;
};

class TLibraryReport : public QObject {
  Q_OBJECT

 public:
  TLibraryReport(TLibraryKind kind, const char* objectName, const char* title, QObject* parent);

  // Draws the whole report on the device, page after page.
  TReportResult Print(QPagedPaintDevice& device, const TInstrumentDocument& doc) const;
  // The preview window, from which the person prints.
  void Preview(const TInstrumentDocument& doc, QWidget* parent) const;

  // The row picture of entry n: white, with a black line.
  QImage RowPicture(const TInstrumentDocument& doc, int n) const;
  // Its line in picture coordinates (150 x 150 for presets, 150 x 75 for envelopes).
  QPolygon RowLine(const TInstrumentDocument& doc, int n) const;
  const QString& Title() const { return title_; }

 private:
  TLibraryKind kind_;
  QString title_;
};

class TfWavePresetReport : public TLibraryReport {
  Q_OBJECT
 public:
  explicit TfWavePresetReport(QObject* parent)
      : TLibraryReport(TLibraryKind::WavePresets, "fWavePresetReport", "Wave Preset Report", parent) {}
};

class TfVolumeEnvelopeReport : public TLibraryReport {
  Q_OBJECT
 public:
  explicit TfVolumeEnvelopeReport(QObject* parent)
      : TLibraryReport(TLibraryKind::VolumeEnvelopes, "fVolumeEnvelopeReport", "Volume Envelope Report", parent) {}
};

// The library managers in the running program: list, picture, moves, sorts,
// delete, rename through the rename dialog, and the printed report as a PDF
// with one row per entry; each window legible, pictures saved beside the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>

#include "DocumentFixture.h"
#include "Legibility.h"
#include "MainFixture.h"
#include "views/Colors.h"
#include "views/PaintBox.h"
#include "windows/LibraryReports.h"
#include "windows/Managers.h"
#include "windows/Tools.h"

using namespace kalvora::test;

namespace {

QStringList Items(QListWidget* l) {
  QStringList s;
  for (int i = 0; i < l->count(); ++i) s << l->item(i)->text();
  return s;
}

TWavePreset Sine(std::string name, int cycles) {
  TWavePreset p;
  p.Name = std::move(name);
  for (int i = 0; i < 150; ++i)
    p.Data[i] = static_cast<std::uint8_t>(std::lround(74.5 + 74 * std::sin(2 * 3.14159265358979 * cycles * i / 150)));
  return p;
}

class Managers : public MainTest {
 protected:
  TfMain& StartWithPresets() {
    TfMain& main = Start();  // Sawtooth
    for (const char* n : {"b", "A", "a"}) main.Document().AddWavePreset(Sine(n, 1 + n[0] % 3));
    main.Document().Voice(1).Morph.SourcePreset = 3;  // A
    main.Document().WavePresetsModified = false;
    return main;
  }
  int PdfPages(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(QRegularExpression("/Type\\s*/Page[^s]")));
  }
};

TEST_F(Managers, WavePresetManagerOperations) {
  TfMain& main = StartWithPresets();
  TfManagW w(main);
  w.show();
  QApplication::processEvents();
  EXPECT_EQ(Items(w.lbPresets), (QStringList{"Sawtooth", "b", "A", "a"}));
  EXPECT_EQ(w.Selected(), 1);
  EXPECT_EQ(w.pbWave->size(), QSize(75, 75));
  // The sawtooth rises from bottom left to top right at half size.
  EXPECT_EQ(w.pbWave->Picture.pixelColor(0, 74), ColorFromBGR(clBlack));
  EXPECT_EQ(w.pbWave->Picture.pixelColor(70, 4), ColorFromBGR(clBlack));
  EXPECT_TRUE(ClippedTexts(&w).isEmpty()) << ClippedTexts(&w).join("\n").toStdString();
  EXPECT_TRUE(SaveScreenshot(&w, "managw"));

  w.MoveUp();
  EXPECT_FALSE(main.Document().WavePresetsModified) << "Move Up on the first entry does nothing";
  w.lbPresets->setCurrentRow(3);
  w.MoveDown();
  EXPECT_FALSE(main.Document().WavePresetsModified);
  w.MoveUp();
  EXPECT_EQ(Items(w.lbPresets), (QStringList{"Sawtooth", "b", "a", "A"}));
  EXPECT_EQ(w.Selected(), 3);
  EXPECT_TRUE(main.Document().WavePresetsModified);
  EXPECT_EQ(main.Document().WavePresets[main.Document().Voice(1).Morph.SourcePreset].Name, "A");
  w.SortUp();
  EXPECT_EQ(Items(w.lbPresets), (QStringList{"A", "Sawtooth", "a", "b"}));
  EXPECT_EQ(w.Selected(), 1);
  EXPECT_EQ(main.Document().WavePresets[main.Document().Voice(1).Morph.SourcePreset].Name, "A");
  w.SortDown();
  EXPECT_EQ(Items(w.lbPresets), (QStringList{"b", "a", "Sawtooth", "A"}));

  // Rename: the dialog's answer is used unless the name is taken.
  w.lbPresets->setCurrentRow(1);
  w.AskNewName = [](const std::string& current) -> std::optional<std::string> {
    EXPECT_EQ(current, "a");
    return "Soft";
  };
  w.bRenameClick();
  EXPECT_EQ(Items(w.lbPresets), (QStringList{"b", "Soft", "Sawtooth", "A"}));
  EXPECT_EQ(w.Selected(), 2);
  w.AskNewName = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
  w.bRenameClick();
  EXPECT_EQ(Items(w.lbPresets)[1], "Soft");

  // Delete asks; No keeps everything.
  prompts_.expectConfirm(kAreYouSure, mrNo);
  w.bDeleteClick();
  EXPECT_EQ(w.lbPresets->count(), 4);
  w.lbPresets->setCurrentRow(3);  // A, voice 1's source
  prompts_.expectConfirm(kAreYouSure, mrYes);
  w.bDeleteClick();
  EXPECT_EQ(Items(w.lbPresets), (QStringList{"b", "Soft", "Sawtooth"}));
  EXPECT_EQ(w.Selected(), 3);
  EXPECT_EQ(main.Document().Voice(1).Morph.SourcePreset, 1);
  EXPECT_FALSE(main.IsSampleUpToDate());
  w.bPlayClick();
  w.bHelpClick();
  EXPECT_EQ(help_.topics.back(), "preseteditwindows_manager");

  const TLibraryReport* shown = nullptr;
  w.ShowReport = [&](const TLibraryReport& r) { shown = &r; };
  w.bReportClick();
  EXPECT_EQ(shown, windows_.WavePresetReport) << "the report form made at start-up";
}

TEST_F(Managers, EnvelopeManagerDeletesTheOnlyEntry) {
  TfMain& main = Start();  // one envelope, "Full"
  TfManagV v(main);
  v.show();
  QApplication::processEvents();
  EXPECT_EQ(Items(v.lbEnvelopes), (QStringList{"Full"}));
  EXPECT_TRUE(ClippedTexts(&v).isEmpty()) << ClippedTexts(&v).join("\n").toStdString();
  EXPECT_TRUE(SaveScreenshot(&v, "managv"));
  prompts_.expectConfirm(kAreYouSure, mrYes);
  v.bDeleteClick();
  EXPECT_EQ(v.lbEnvelopes->count(), 0);
  EXPECT_EQ(v.Selected(), 0);
  v.MoveUp();
  v.MoveDown();
  v.SortUp();
  v.bRenameClick();
  v.bPlayClick();
  prompts_.expectConfirm(kAreYouSure, mrYes);
  v.bDeleteClick();
  EXPECT_EQ(main.Document().VolumeEnvelopes.Count(), 0);
}

TEST_F(Managers, RenameDialogRefusesTakenNames) {
  TfMain& main = StartWithPresets();
  TLibraryManager m(main.Document(), TLibraryKind::WavePresets);
  TfRenWPreset d(m, "b", nullptr);
  d.show();
  QApplication::processEvents();
  EXPECT_TRUE(d.lStatus->isVisible()) << "the unchanged name is taken";
  d.AcceptIfNew();
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_TRUE(d.isVisible());
  d.eNewName->setText("B");  // differs only in case: free
  EXPECT_FALSE(d.lStatus->isVisible());
  d.eNewName->setText(QString("Sawtooth") + QString(30, 'x'));
  EXPECT_FALSE(d.lStatus->isVisible());
  d.eNewName->setText("A");
  EXPECT_TRUE(d.lStatus->isVisible());
  EXPECT_TRUE(ClippedTexts(&d).isEmpty()) << ClippedTexts(&d).join("\n").toStdString();
  EXPECT_TRUE(SaveScreenshot(&d, "renwpreset"));
  d.eNewName->setText("New name");
  d.AcceptIfNew();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.NewName(), "New name");
}

TEST_F(Managers, ReportHasARowPerEntryOverPages) {
  TfMain& main = Start();
  for (int i = 0; i < 24; ++i) main.Document().AddWavePreset(Sine("Wave " + std::to_string(i), 1 + i % 5));
  for (int i = 0; i < 3; ++i)
    main.Document().AddVolumeEnvelope(Envelope("Env " + std::to_string(i), {{0, 0}, {40 * (i + 1), 255}, {255, 0}}));
  struct Case {
    TLibraryReport* report;
    int rows;
    const char* file;
  } cases[] = {{windows_.WavePresetReport, 25, "/presets.pdf"}, {windows_.VolumeEnvelopeReport, 4, "/envelopes.pdf"}};
  for (const Case& c : cases) {
    const QString file = QString::fromStdString(dir_.string()) + c.file;
    TReportResult r;
    {
      QPdfWriter pdf(file);
      pdf.setPageSize(QPageSize(QPageSize::A4));
      pdf.setResolution(300);
      r = c.report->Print(pdf, main.Document());
    }
    EXPECT_EQ(r.Rows, c.rows) << c.file;
    // A4 at 0.9 inch a row under a 0.6 inch head: 12 rows a page.
    EXPECT_EQ(r.Pages, (c.rows + 11) / 12) << c.file;
    EXPECT_EQ(PdfPages(file), r.Pages) << c.file;
  }
  // The row picture: white with the wave in black.
  const QImage pic = windows_.WavePresetReport->RowPicture(main.Document(), 1);
  EXPECT_EQ(pic.pixelColor(0, 149), QColor(Qt::black));
  EXPECT_EQ(pic.pixelColor(0, 0), QColor(Qt::white));
  pic.save(kalvora::test::ScreenshotFile("report_row"));
  // The preview a person sees, saved to be looked at.
  QPrinter printer(QPrinter::ScreenResolution);
  QPrintPreviewWidget preview(&printer);
  QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                   [&](QPrinter* p) { windows_.WavePresetReport->Print(*p, main.Document()); });
  preview.resize(900, 1000);
  preview.show();
  preview.updatePreview();
  QApplication::processEvents();
  EXPECT_EQ(preview.pageCount(), 3);
  EXPECT_TRUE(SaveScreenshot(&preview, "report_preview"));
}

}  // namespace

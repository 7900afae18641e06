// The envelope editors in the running program: opened on the voice editor's
// envelope, points edited with the mouse, envelopes added, imported from
// text files and played, the ADSR bars; each window legible and saved as a
// picture beside the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <fstream>

#include "DocumentFixture.h"
#include "Legibility.h"
#include "MainFixture.h"
#include "formats/EnvelopeImport.h"
#include "formats/PresetImport.h"
#include "views/Colors.h"
#include "views/PaintBox.h"
#include "windows/EnvelopeEditors.h"
#include "windows/Tools.h"

using namespace kalvora::test;

namespace {

class EnvelopeEditors : public MainTest {
 protected:
  TfMain& StartWithEnvelopes() {
    TfMain& main = Start();
    main.Document().AddVolumeEnvelope(Envelope("Decay", {{0, 255}, {60, 180}, {255, 0}}));
    main.Document().AddVolumeEnvelope(Envelope("Six", {{0, 0}, {20, 255}, {60, 100}, {120, 100}, {200, 50}, {255, 0}}));
    main.Document().AddVolumeEnvelope(Envelope("Plain ADSR", {{0, 0}, {30, 255}, {90, 70}, {180, 70}, {255, 0}}));
    return main;
  }
  std::string WriteFile(const std::string& name, const std::string& text) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
};

TEST_F(EnvelopeEditors, FreeEditorOpensOnTheVoicesEnvelopeAndEditsPoints) {
  TfMain& main = StartWithEnvelopes();
  TfEditVol d(main, 1);
  d.show();
  QApplication::processEvents();
  EXPECT_EQ(d.cbV->currentIndex(), 1);
  EXPECT_EQ(d.eName->text(), "Decay");
  EXPECT_EQ(d.Editor.Envelope.Count, 3);
  EXPECT_EQ(d.pbV->size(), QSize(561, 255));
  EXPECT_TRUE(ClippedTexts(&d).isEmpty()) << ClippedTexts(&d).join("\n").toStdString();

  // Insert a point by clicking, drag it, release.
  const int x = EnvelopeX(150, 561), y = EnvelopeY(200, 255);
  d.pbV->OnMouseDown(x, y, Qt::LeftButton);
  EXPECT_EQ(d.lPos->text().toStdString(), EnvelopePositionText(x, y, 561, 255));
  d.pbV->OnMouseMove(x + 30, y + 40);
  d.pbV->OnMouseUp(x + 30, y + 40);
  ASSERT_EQ(d.Editor.Envelope.Count, 4);
  EXPECT_EQ(d.Editor.Envelope.X[2], EnvelopeTime(x + 30, 561));
  // The picture shows the new point as a blue dot.
  EXPECT_EQ(d.pbV->Picture.pixelColor(d.Editor.X(3), d.Editor.Y(3)), ColorFromBGR(clBlue));
  EXPECT_TRUE(SaveScreenshot(&d, "editvol"));

  // The table is unchanged until Update; Update asks first.
  EXPECT_EQ(main.Document().VolumeEnvelopes[2].Count, 3);
  prompts_.expectConfirm(kAreYouSure, mrYes);
  d.bUpdateClick();
  EXPECT_EQ(main.Document().VolumeEnvelopes[2].Count, 4);
  EXPECT_TRUE(main.Document().VolumeEnvelopesModified);
  EXPECT_FALSE(main.IsSampleUpToDate());

  // Add under a taken name is refused with the message; a new name is added and selected.
  prompts_.expectMessage(kEnvelopeExists);
  d.bAddClick();
  d.eName->setText("Decay 2");
  emit d.eName->textEdited("Decay 2");
  d.bAddClick();
  EXPECT_EQ(main.Document().VolumeEnvelopes.Count(), 5);
  EXPECT_EQ(d.cbV->currentIndex(), 4);
  EXPECT_EQ(d.eName->text(), "Decay 2");

  // Mirror twice restores; random keeps the name.
  const TVolumeEnvelope before = d.Editor.Envelope;
  d.bMirrorHorizontalClick();
  d.bMirrorHorizontalClick();
  EXPECT_EQ(d.Editor.Envelope.X, before.X);
  d.Random.seed(7);
  d.bRandomClick();
  EXPECT_EQ(d.Editor.Envelope.Name, "Decay 2");
  EXPECT_EQ(d.Editor.Envelope.X[0], 0);
  EXPECT_EQ(d.Editor.Envelope.X[d.Editor.Envelope.Count - 1], 255);
  d.bPlayClick();  // through the tool window's preview output (a null device here)
  EXPECT_TRUE(SaveScreenshot(&d, "editvol_random"));

  // Delete asks, then shows the entry now selected.
  prompts_.expectConfirm(kAreYouSure, mrYes);
  d.bDeleteClick();
  EXPECT_EQ(main.Document().VolumeEnvelopes.Count(), 4);
  EXPECT_EQ(d.Editor.Envelope.Name, main.Document().VolumeEnvelopes[d.cbV->currentIndex() + 1].Name);
  d.bHelpClick();
  EXPECT_EQ(help_.topics.back(), "volumeenvelopeeditwindows_free");
}

TEST_F(EnvelopeEditors, ImportAddsTheFileOrSaysWhy) {
  TfMain& main = StartWithEnvelopes();
  TfEditVol d(main, 0);
  d.show();
  QApplication::processEvents();
  std::vector<std::string> formatErrors;
  d.ShowFormatError = [&](const std::string& t) { formatErrors.push_back(t); };

  dialogs_.expectOpen(WriteFile("good.txt", "Kalvora Volume Envelope Text File\r\nImported\r\n3\r\n0 0\r\n128 255\r\n255 0\r\n"));
  d.bImportClick();
  EXPECT_EQ(dialogs_.shown().back().filter, "Text files|*.txt|All files|*.*");
  ASSERT_EQ(main.Document().VolumeEnvelopes.Count(), 5);
  EXPECT_EQ(main.Document().VolumeEnvelopes[5].Name, "Imported");
  EXPECT_EQ(d.cbV->currentIndex(), 4);
  EXPECT_EQ(d.eName->text(), "Imported");
  EXPECT_EQ(d.Editor.Envelope.X[1], 128);

  dialogs_.expectOpen(WriteFile("bad.txt", "Kalvora Preset Text File\nx\n"));
  d.bImportClick();
  EXPECT_EQ(formatErrors, (std::vector<std::string>{kEnvelopeWrongFormat}));

  dialogs_.expectOpen(WriteFile("short.txt", "Kalvora Volume Envelope Text File\nShort\n4\n0 0\n"));
  prompts_.expectMessage(PresetImportMessage::kEndOfFile);
  d.bImportClick();
  dialogs_.expectOpen(WriteFile("range.txt", "Kalvora Volume Envelope Text File\nRange\n2\n0 0\n300 0\n"));
  prompts_.expectMessage(kEnvelopeValueOutOfRange);
  d.bImportClick();
  dialogs_.expectOpen(std::nullopt);  // cancelled
  d.bImportClick();
  EXPECT_EQ(main.Document().VolumeEnvelopes.Count(), 5);

  // A full library asks for no file at all.
  while (!main.Document().VolumeEnvelopes.Full())
    main.Document().AddVolumeEnvelope(Envelope("E" + std::to_string(main.Document().VolumeEnvelopes.Count())));
  d.bImportClick();
}

TEST_F(EnvelopeEditors, AdsrBarsAndPresets) {
  TfMain& main = StartWithEnvelopes();
  TfADSR d(main, 0);
  d.show();
  QApplication::processEvents();
  EXPECT_EQ(d.eName->text(), "Full");
  EXPECT_EQ(d.sbA->value(), 50);
  EXPECT_EQ(d.sbS->value(), 102);
  EXPECT_EQ(d.lS->text(), "40 %");
  EXPECT_EQ(d.pbV->size(), QSize(405, 157));
  EXPECT_TRUE(ClippedTexts(&d).isEmpty()) << ClippedTexts(&d).join("\n").toStdString();

  d.sbD->setValue(30);
  d.sbR->setValue(40);
  d.sbA->setValue(200);
  EXPECT_EQ(d.sbA->value(), 185) << "cut to 255 - 30 - 40";
  EXPECT_EQ(d.Adsr.Envelope.X[1], 185);
  EXPECT_EQ(d.lA->text(), "73 %");
  EXPECT_TRUE(SaveScreenshot(&d, "adsr"));

  // An envelope of six points only gives its name; an ADSR-shaped one is loaded.
  const TVolumeEnvelope working = d.Adsr.Envelope;
  d.cbV->setCurrentIndex(2);
  EXPECT_EQ(d.eName->text(), "Six");
  EXPECT_EQ(d.Adsr.Envelope.Name, "Six");
  EXPECT_EQ(d.Adsr.Envelope.X, working.X);
  d.cbV->setCurrentIndex(3);
  EXPECT_EQ(d.sbA->value(), 30);
  EXPECT_EQ(d.sbD->value(), 60);
  EXPECT_EQ(d.sbS->value(), 70);
  EXPECT_EQ(d.sbR->value(), 75);

  d.Random.seed(3);
  d.bRandomClick();
  EXPECT_TRUE(TAdsrEditor::HasAdsrShape(d.Adsr.Envelope));
  d.bInitClick();
  EXPECT_EQ(d.sbA->value(), 50);
  d.eName->setText("My ADSR");
  emit d.eName->textEdited("My ADSR");
  d.bAddClick();
  EXPECT_EQ(main.Document().VolumeEnvelopes[main.Document().VolumeEnvelopes.Count()].Name, "My ADSR");
  d.bHelpClick();
  EXPECT_EQ(help_.topics.back(), "volumeenvelopeeditwindows_adsr");
}

}  // namespace

// The options dialog, run from the main window with fakes for every outside
// service.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>

#include <filesystem>
#include <fstream>
#include <functional>

#include "Legibility.h"
#include "MainFixture.h"
#include "components/OfficeButton.h"
#include "components/TileControl.h"
#include "views/Backgrounds.h"
#include "views/SingleLineField.h"
#include "windows/InGlob.h"
#include "windows/Options.h"
#include "windows/WaveGen.h"

namespace kalvora::test {
namespace {

using OptionsWindow = MainTest;

TEST_F(OptionsWindow, EveryPageReadsAndCancelChangesNothing) {
  TfMain& main = Start();
  const TMainSettings before = main.Settings();
  WhenShown<TfOptions>([](TfOptions& o) {
    EXPECT_EQ(o.pcOptions->currentIndex(), 0);
    const char* names[] = {"kalvora_options_general", "kalvora_options_background", "kalvora_options_defaults",
                           "kalvora_options_midi"};
    for (int page = 0; page < 4; ++page) {
      o.pcOptions->setCurrentIndex(page);
      QApplication::processEvents();
      EXPECT_TRUE(ClippedTexts(&o).isEmpty()) << ClippedTexts(&o).join("\n").toStdString();
      EXPECT_TRUE(SaveScreenshot(&o, names[page]));
    }
    // Gradient colours for the border, then Cancel.
    o.cbElement->setCurrentIndex(1);
    o.cbDefaultDesign->click();
    o.rbGradient->click();
    o.SetElementColor(true, QColor(255, 0, 0));
    EXPECT_EQ(o.WorkingBorder().TileMode, tmGradient);
    EXPECT_EQ(o.WorkingBorder().ColorFrom, 0x0000FFu);
    EXPECT_EQ(o.tPreviewTop->TileMode(), TZRWBackmode::tmGradient);
    o.pcOptions->setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_TRUE(SaveScreenshot(&o, "kalvora_options_background_gradient"));
    o.bCancel->click();
  });
  main.RunOptions();
  EXPECT_EQ(main.Settings().BackgroundBorder.Default, before.BackgroundBorder.Default);
  EXPECT_EQ(main.Settings().BackgroundBorder.ColorFrom, before.BackgroundBorder.ColorFrom);
  EXPECT_EQ(main.PanelTop->TileMode(), TZRWBackmode::tmTile);
}

TEST_F(OptionsWindow, OkStoresEverySetting) {
  TfMain& main = Start();
  main.Settings().MidiDeviceID = 3;  // beyond the one device of the fake backend
  WhenShown<TfOptions>([](TfOptions& o) {
    ASSERT_EQ(o.lbMidiDevices->count(), 1);
    EXPECT_EQ(o.lbMidiDevices->item(0)->text(), "Test MIDI Input");
    EXPECT_EQ(o.lbMidiDevices->currentRow(), -1);
    EXPECT_FALSE(o.lbMidiDevices->isEnabled());
    o.cbShowHints->setChecked(false);
    EXPECT_FALSE(o.eAutoConvertProgram->isEnabled());
    o.cbAutoConvert->click();
    EXPECT_TRUE(o.eAutoConvertProgram->isEnabled());
    o.eAutoConvertProgram->setText("lame");
    o.rbMaximized->setChecked(true);
    o.sgVoiceNames->item(4, 1)->setText("Bass");
    EXPECT_EQ(o.sgVoiceNames->item(4, 0)->text(), "05");
    o.cbQuality->setCurrentIndex(0);
    o.cbMidiEnabled->click();
    EXPECT_TRUE(o.lbMidiDevices->isEnabled());
    // An image that is not there shows the built-in one in the chosen mode.
    o.cbElement->setCurrentIndex(0);
    o.cbDefaultDesign->click();
    o.rbImage->click();
    o.rbStretch->click();
    o.eImage->setText("/no/such/picture.bmp");
    emit o.eImage->textEdited(o.eImage->text());
    EXPECT_EQ(o.tPreviewMain->TileMode(), TZRWBackmode::tmStretch);
    EXPECT_EQ(o.tPreviewMain->Bitmap(), BuiltInMainPicture());
    // Return in the memo makes a new line; elsewhere it stores and closes.
    o.memoDescription->setPlainText("first");
    o.memoDescription->moveCursor(QTextCursor::End);
    QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(o.memoDescription, &ret);
    o.memoDescription->insertPlainText("second");
    EXPECT_TRUE(o.isVisible());
    QApplication::sendEvent(&o, &ret);
  });
  main.RunOptions();
  const TMainSettings& s = main.Settings();
  EXPECT_FALSE(s.ShowHints);
  EXPECT_TRUE(main.bPlay->toolTip().isEmpty());
  EXPECT_TRUE(s.AutoConvert);
  EXPECT_EQ(s.AutoConvertProgram, "lame");
  EXPECT_EQ(s.AutoConvertMode, 3);
  EXPECT_EQ(s.DefaultVoiceNames[4], "Bass");
  EXPECT_EQ(main.Document().DefaultVoiceNames[4], "Bass");
  EXPECT_EQ(s.DefaultCalculationQuality, 0);
  EXPECT_TRUE(s.MidiEnabled);
  EXPECT_EQ(s.MidiDeviceID, 0);
  EXPECT_EQ(main.DefaultDescription(), (std::vector<std::string>{"first", "second"}));
  EXPECT_FALSE(s.BackgroundMain.Default);
  EXPECT_EQ(s.BackgroundMain.TileMode, tmStretch);
  EXPECT_EQ(s.BackgroundMain.Image, "/no/such/picture.bmp");
}

// A converter and a picture chosen in folders whose names are not ASCII:
// stored as the system's bytes, found again, and the converter gets its
// options as typed.
TEST_F(OptionsWindow, PathsAndConverterOptionsKeepTheSystemsBytes) {
  const std::filesystem::path program = dir_ / "Konvert\xC3\xA9r" / "conv";
  const std::filesystem::path picture = dir_ / "\xE7\x94\xBB\xE5\x83\x8F" / "bg.bmp";  // 画像
  std::filesystem::create_directories(program.parent_path());
  std::filesystem::create_directories(picture.parent_path());
  std::ofstream(program) << "#!/bin/sh\n";
  QImage image(8, 6, QImage::Format_RGB32);
  image.fill(QColor(10, 200, 30));
  ASSERT_TRUE(image.save(QString::fromUtf8(picture.c_str()), "BMP"));
  auto showsPicture = [](const QImage& shown) {
    return shown.size() == QSize(8, 6) && shown.pixelColor(0, 0) == QColor(10, 200, 30);
  };

  TfMain& main = Start();
  dialogs_.expectOpen(program.string());
  dialogs_.expectOpen(picture.string());
  WhenShown<TfOptions>([&](TfOptions& o) {
    o.cbAutoConvert->click();
    o.bSelectProgram->click();
    EXPECT_EQ(o.eAutoConvertProgram->text(), QString::fromUtf8(program.c_str()));
    o.eAutoConvertOptions->setText(QString::fromUtf8("--title=Café"));
    QApplication::processEvents();
    EXPECT_TRUE(SaveScreenshot(&o, "kalvora_options_converter_paths"));
    o.cbElement->setCurrentIndex(1);
    o.cbDefaultDesign->click();
    o.rbImage->click();
    o.bSelectImage->click();
    EXPECT_TRUE(showsPicture(o.tPreviewTop->Bitmap()));
    o.bOK->click();
  });
  main.RunOptions();
  const TMainSettings& s = main.Settings();
  EXPECT_EQ(s.AutoConvertProgram, program.string());
  EXPECT_EQ(s.AutoConvertOptions, "--title=Caf\xC3\xA9");
  EXPECT_EQ(s.BackgroundBorder.Image, picture.string());
  EXPECT_TRUE(showsPicture(main.PanelTop->Bitmap()));

  main.Document().ResultBuffer = {1, 0};
  main.SetSampleUpToDate(true);
  dialogs_.expectSave((dir_ / "bass.wav").string());
  main.SaveSampleCommand();
  ASSERT_EQ(processes_.starts.size(), 1u);
  EXPECT_EQ(processes_.starts[0].program, program.string());
  EXPECT_EQ(processes_.starts[0].arguments, (std::vector<std::string>{"bass.wav", "--title=Caf\xC3\xA9"}));

  // After a restart the same bytes, the same picture.
  main.SetInstrumentUpToDate(true);
  ASSERT_TRUE(main.close());
  TfMain& again = Start();
  EXPECT_EQ(again.Settings().AutoConvertProgram, program.string());
  EXPECT_EQ(again.Settings().AutoConvertOptions, "--title=Caf\xC3\xA9");
  EXPECT_TRUE(showsPicture(again.PanelTop->Bitmap()));
  again.SetInstrumentUpToDate(true);
}

// Paths and converter options are the system's bytes, which need not decode
// (written under another locale, or by hand): OK keeps the bytes of every
// field nobody changed, even when other controls of its page were used; an
// edited field stores its text, where an undecodable byte shows as U+FFFD.
TEST_F(OptionsWindow, OkKeepsTheBytesOfFieldsNobodyChanged) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
  struct Row {
    const char* what;
    std::string stored, edited;  // edited: after " x" is typed at the end
  } rows[] = {
      {"valid UTF-8", "-q Caf\xC3\xA9 \xE7\x94\xBB", "-q Caf\xC3\xA9 \xE7\x94\xBB x"},
      {"Latin-1", "-q \xE4\xF6\xFC", "-q " + r + r + r + " x"},
      {"mixed", "\xC3\xA9\xE9/\xFF.exe", "\xC3\xA9" + r + "/" + r + ".exe x"},
      {"empty", "", " x"},
  };
  TfMain& main = Start();
  for (const Row& row : rows)
    for (bool edit : {false, true}) {
      SCOPED_TRACE(std::string(row.what) + (edit ? ", edited" : ", untouched"));
      TMainSettings& s = main.Settings();
      s.AutoConvert = true;
      s.AutoConvertProgram = s.AutoConvertOptions = row.stored;
      for (TBackgroundSetting* b : {&s.BackgroundMain, &s.BackgroundBorder}) {
        b->Default = false;
        b->TileMode = tmTile;
        b->Image = row.stored;
      }
      WhenShown<TfOptions>([edit](TfOptions& o) {
        auto type = [edit](QLineEdit* e) {
          if (!edit) return;
          e->end(false);
          e->insert(QStringLiteral(" x"));  // as typed: the field reports an edit
        };
        type(o.eAutoConvertProgram);
        type(o.eAutoConvertOptions);
        // Both backgrounds: the image mode changes, which rereads the page.
        for (int element : {0, 1}) {
          o.cbElement->setCurrentIndex(element);
          o.rbStretch->click();
          type(o.eImage);
          o.rbTile->click();
        }
        o.cbElement->setCurrentIndex(0);
        o.cbAutoConvert->click();
        o.cbAutoConvert->click();
        o.bOK->click();
      });
      main.RunOptions();
      const std::string& expected = edit ? row.edited : row.stored;
      EXPECT_EQ(s.AutoConvertProgram, expected);
      EXPECT_EQ(s.AutoConvertOptions, expected);
      EXPECT_EQ(s.BackgroundMain.Image, expected);
      EXPECT_EQ(s.BackgroundBorder.Image, expected);
    }
}

// Each key typed into the image name rereads the page; the text it shows
// again is the same, and the cursor stays where the key went.
TEST_F(OptionsWindow, TypingInsideTheImageNameKeepsTheCursor) {
  TfMain& main = Start();
  main.Settings().BackgroundMain.Default = false;
  main.Settings().BackgroundMain.TileMode = tmTile;
  main.Settings().BackgroundMain.Image = "/abc.bmp";
  WhenShown<TfOptions>([](TfOptions& o) {
    o.eImage->setCursorPosition(1);
    o.eImage->insert(QStringLiteral("x"));
    EXPECT_EQ(o.WorkingMain().Image, "/xabc.bmp");
    EXPECT_EQ(o.eImage->cursorPosition(), 2);
    o.bCancel->click();
  });
  main.RunOptions();
}

// The settings file keeps each of these on one line: a paste that brings a
// line break is refused whole and the field says why, so no value is
// changed behind the person's back.
TEST_F(OptionsWindow, FieldsKeptOnOneLineRefuseALineBreakAndSaySo) {
  TfMain& main = Start();
  WhenShown<TfOptions>([](TfOptions& o) {
    o.pcOptions->setCurrentIndex(2);
    o.sgVoiceNames->setCurrentCell(0, 1);
    o.sgVoiceNames->editItem(o.sgVoiceNames->item(0, 1));
    auto* voiceName = o.sgVoiceNames->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(voiceName, nullptr);
    for (QLineEdit* e : {o.eAutoConvertProgram, o.eAutoConvertOptions, o.eImage, voiceName}) {
      SCOPED_TRACE(e->objectName().toStdString());
      e->setText(QStringLiteral("kept"));
      QToolTip::hideText();
      for (const char* text : {"two\nlines", "two\rlines", "ends\r\n"}) {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
        e->selectAll();
        e->paste();
        EXPECT_EQ(e->text(), QStringLiteral("kept")) << text;
        EXPECT_EQ(QToolTip::text(), TSingleLineValidator::RefusalText());
      }
      QGuiApplication::clipboard()->setText(QStringLiteral("one line"));
      e->selectAll();
      e->paste();
      EXPECT_EQ(e->text(), QStringLiteral("one line"));
    }
    EXPECT_EQ(CharacterBound(voiceName), static_cast<int>(TVoice::kMaxName));
    o.bCancel->click();
  });
  main.RunOptions();
}

// The defaults set in Options are what the next new instrument gets, in the
// same run and as often as they change; the instrument being edited keeps
// its own description and quality. The first instrument takes the stored
// defaults.
TEST_F(OptionsWindow, NewTakesTheDefaultsAsTheyAreNow) {
  std::ofstream(dir_ / "kalvora.dai") << "[General]\nDefault Calculation Quality=0\n";
  std::ofstream(dir_ / "kalvora.dad") << "stored default\r\n";
  TfMain& main = Start();
  TfInGlob& globals = *windows_.InGlob;
  EXPECT_EQ(globals.GetDescription(), std::vector<std::string>{"stored default"});
  EXPECT_EQ(globals.GetQuality(), 0);
  EXPECT_EQ(globals.cbCalcQuality->currentText().toStdString(), "11025 Hz");

  struct Row {
    const char* typed;  // into the Options memo
    int quality;
    std::vector<std::string> description;
    const char* shown;  // the global settings' quality box
    int cutOffMax;
  } rows[] = {
      {"Dflt", 1, {"Dflt"}, "22050 Hz", 11025},
      {"two\nlines", 0, {"two", "lines"}, "11025 Hz", 5512},
      {"", 2, {}, "44100 Hz", 22050},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.typed);
    const std::vector<std::string> description = globals.GetDescription();
    const int quality = globals.GetQuality();
    main.SetSampleUpToDate(true);
    main.SetInstrumentUpToDate(true);
    WhenShown<TfOptions>([&r](TfOptions& o) {
      o.memoDescription->setPlainText(QString::fromLatin1(r.typed));
      o.cbQuality->setCurrentIndex(r.quality);
      o.bOK->click();
    });
    main.RunOptions();
    EXPECT_EQ(globals.GetDescription(), description);
    EXPECT_EQ(globals.GetQuality(), quality);
    EXPECT_TRUE(main.IsSampleUpToDate());
    EXPECT_TRUE(main.IsInstrumentUpToDate());

    prompts_.expectConfirm("Are you sure?", mrYes);
    windows_.WaveGen->NewInstrument();
    EXPECT_EQ(globals.GetDescription(), r.description);
    EXPECT_EQ(globals.memoDescription->Text().toStdString(), r.typed);
    EXPECT_EQ(globals.GetQuality(), r.quality);
    EXPECT_EQ(globals.cbCalcQuality->currentText().toStdString(), r.shown);
    EXPECT_EQ(globals.Settings().CutOffMax(), r.cutOffMax);
  }
  main.SetInstrumentUpToDate(true);
}

TEST_F(OptionsWindow, NoMidiDeviceStoresDeviceZero) {
  TfMain& main = Start();
  main.Settings().MidiDeviceID = 2;
  kalvora::platform::NullMidiInput none(std::vector<std::string>{});
  TfOptions o(&main, nullptr, &none);
  EXPECT_EQ(o.lbMidiDevices->count(), 0);
  o.StoreOptions();
  EXPECT_EQ(main.Settings().MidiDeviceID, 0);
}

}  // namespace
}  // namespace kalvora::test

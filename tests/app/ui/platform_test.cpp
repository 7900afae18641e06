// Platform stand-ins: MIDI input delivery, the sequencer backend without a
// sequencer, the library's message box, the Qt prompts, process start and the
// scripted fakes.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <thread>
#include <tuple>

#include "Fakes.h"
#include "platform/LibraryMessageBox.h"
#include "platform/null/NullMidiInput.h"
#include "platform/qt/QtPrompts.h"
#include "windows/dialogs/DialogPrompts.h"
#include "platform/rt/RtMidiInput.h"
#include "zqvp4.h"

using namespace kalvora::platform;

namespace {

void pump() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

using Message = std::tuple<int, int, int>;

// ---- MIDI ------------------------------------------------------------------

class NullMidi : public ::testing::Test {
 protected:
  bool open(int index = 0) {
    return midi_.open(index, &receiver_, [this](std::uint8_t s, std::uint8_t d1, std::uint8_t d2) {
      EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
      got_.emplace_back(s, d1, d2);
    });
  }

  QObject receiver_;
  NullMidiInput midi_{{"Keys", "Pads"}};
  std::vector<Message> got_;
};

TEST_F(NullMidi, ListsItsDevices) {
  EXPECT_EQ(midi_.deviceCount(), 2);
  EXPECT_EQ(midi_.deviceName(0), "Keys");
  EXPECT_EQ(midi_.deviceName(1), "Pads");
  EXPECT_EQ(midi_.deviceName(2), "");
  EXPECT_EQ(midi_.deviceName(-1), "");
}

TEST_F(NullMidi, MessagesFromAnotherThreadArriveInOrderOnTheUserInterfaceThread) {
  ASSERT_TRUE(open(1));
  EXPECT_EQ(midi_.openedDevice, 1);
  std::thread device([this] {
    midi_.inject(0x90, 60, 127);
    midi_.inject(0xB0, 64, 127);
    midi_.inject(0x80, 60, 0);
  });
  device.join();
  EXPECT_TRUE(got_.empty()) << "delivery is a queued call";
  pump();
  EXPECT_EQ(got_, (std::vector<Message>{{0x90, 60, 127}, {0xB0, 64, 127}, {0x80, 60, 0}}));
}

TEST_F(NullMidi, NothingArrivesAfterClose) {
  ASSERT_TRUE(open());
  midi_.inject(0x90, 60, 100);  // already on its way when the device closes
  midi_.close();
  EXPECT_FALSE(midi_.isOpen());
  midi_.inject(0x90, 61, 100);
  pump();
  EXPECT_TRUE(got_.empty());
}

TEST_F(NullMidi, OpenFailures) {
  EXPECT_FALSE(open(2));
  EXPECT_FALSE(open(-1));
  midi_.failOpen = true;
  EXPECT_FALSE(open(0));
  EXPECT_FALSE(midi_.isOpen());
  midi_.failOpen = false;
  EXPECT_TRUE(open(0));
  EXPECT_FALSE(open(1)) << "one device at a time";
}

TEST(RtMidi, ListsDevicesWithoutASequencerOrWithOne) {
  RtMidiInput midi;
  const int count = midi.deviceCount();
  ASSERT_GE(count, 0);
  for (int i = 0; i < count; ++i) EXPECT_FALSE(midi.deviceName(i).empty()) << i;
  EXPECT_EQ(midi.deviceName(count), "");
  EXPECT_EQ(midi.deviceName(-1), "");
  QObject receiver;
  EXPECT_FALSE(midi.open(count, &receiver, [](std::uint8_t, std::uint8_t, std::uint8_t) {}));
  EXPECT_FALSE(midi.isOpen());
  if (count == 0) {
    EXPECT_FALSE(midi.open(0, &receiver, [](std::uint8_t, std::uint8_t, std::uint8_t) {}));
  }
  midi.close();  // closing a closed input is harmless
}

// ---- Message boxes ---------------------------------------------------------

// Acts on the next modal message box once it is shown; closes any modal box
// left after a few seconds, so a test never waits for a person.
void answerNextBox(std::function<void(QMessageBox*)> act) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && box->isVisible()) {
      timer->deleteLater();
      timer->stop();
      act(box);
      QTimer::singleShot(3000, box, [box] { box->done(-1); });
    } else if (++*tries > 500) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(10);
}

void click(QMessageBox* box, QMessageBox::StandardButton which) {
  ASSERT_NE(box->button(which), nullptr);
  box->button(which)->click();
}

TEST(LibraryMessageBox, ButtonsFollowTheFlagsAndAnswersMapToTheLibraryCodes) {
  struct Case {
    std::uint32_t flags;
    QMessageBox::StandardButton press;
    std::int32_t answer;
  };
  const Case cases[] = {
      {ZQV_MB_YESNO | ZQV_MB_SYSTEMMODAL, QMessageBox::Yes, ZQV_IDYES},
      {ZQV_MB_YESNO, QMessageBox::No, ZQV_IDNO},
      {ZQV_MB_OKCANCEL | ZQV_MB_SYSTEMMODAL, QMessageBox::Ok, ZQV_IDOK},
      {ZQV_MB_OKCANCEL, QMessageBox::Cancel, ZQV_IDCANCEL},
      {ZQV_MB_OK, QMessageBox::Ok, ZQV_IDOK},
  };
  for (const Case& c : cases) {
    QString text, caption;
    int buttons = 0;
    answerNextBox([&](QMessageBox* box) {
      text = box->text();
      caption = box->windowTitle();
      buttons = static_cast<int>(box->buttons().size());
      click(box, c.press);
    });
    EXPECT_EQ(LibraryMessageBox("Bad argument", "zqvsbAdd1", c.flags), c.answer) << c.flags;
    EXPECT_EQ(text, "Bad argument");
    EXPECT_EQ(caption, "zqvsbAdd1");
    EXPECT_EQ(buttons, (c.flags & 0xF) == ZQV_MB_OK ? 1 : 2) << c.flags;
  }
}

TEST(LibraryMessageBox, EscapeAnswersTheButtonThatGoesOn) {
  for (auto [flags, answer] : {std::pair{ZQV_MB_YESNO, ZQV_IDNO}, std::pair{ZQV_MB_OKCANCEL, ZQV_IDCANCEL}}) {
    answerNextBox([](QMessageBox* box) { box->reject(); });
    EXPECT_EQ(LibraryMessageBox("t", "c", static_cast<std::uint32_t>(flags)), answer);
  }
}

TEST(LibraryMessageBox, TheTextAlsoGoesToStandardError) {
  answerNextBox([](QMessageBox* box) { box->reject(); });
  ::testing::internal::CaptureStderr();
  LibraryMessageBox("Out of memory", "zqvsFFTFwd", ZQV_MB_OK);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("zqvsFFTFwd: Out of memory\n"), std::string::npos);
}

TEST(LibraryMessageBox, OffTheUserInterfaceThreadNoBoxIsShown) {
  std::int32_t yesNo = 0, okCancel = 0;
  std::thread worker([&] {
    yesNo = LibraryMessageBox("t", "c", ZQV_MB_YESNO);
    okCancel = LibraryMessageBox("t", "c", ZQV_MB_OKCANCEL);
  });
  worker.join();
  EXPECT_EQ(yesNo, ZQV_IDNO);
  EXPECT_EQ(okCancel, ZQV_IDOK);
}

TEST(LibraryMessageBox, InstallSetsTheLibraryHook) {
  const ZqvMessageBoxFn before = zqvSetMessageBoxHook(nullptr);
  InstallLibraryMessageBox();
  const ZqvMessageBoxFn installed = zqvSetMessageBoxHook(before);
  ASSERT_NE(installed, nullptr);
  answerNextBox([](QMessageBox* box) { click(box, QMessageBox::Yes); });
  EXPECT_EQ(installed("text", "caption", ZQV_MB_YESNO), ZQV_IDYES);
}

// The prompts show the program's own boxes (a temporary one before the
// boxes of the start-up exist).
void answerNextDialog(std::function<void(QDialog*)> act) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (box && box->isVisible()) {
      timer->deleteLater();
      timer->stop();
      act(box);
      QTimer::singleShot(3000, box, [box] { box->done(-1); });
    } else if (++*tries > 500) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(10);
}

void clickNamed(QDialog* box, const char* name) {
  auto* b = box->findChild<QPushButton*>(name);
  ASSERT_NE(b, nullptr) << name;
  b->click();
}

TEST(DialogPrompts, AnswersAreModalResults) {
  TDialogPrompts prompts;
  answerNextDialog([](QDialog* box) { clickNamed(box, "bYes"); });
  EXPECT_EQ(prompts.confirm("Are you sure?"), mrYes);
  answerNextDialog([](QDialog* box) { box->reject(); });
  EXPECT_EQ(prompts.confirm("Are you sure?"), mrNo);
  answerNextDialog([](QDialog* box) { clickNamed(box, "bNo"); });
  EXPECT_EQ(prompts.question("Save changes to the current instrument?"), mrNo);
  answerNextDialog([](QDialog* box) { box->reject(); });
  EXPECT_EQ(prompts.question("Save changes to the current instrument?"), mrCancel);
  QString shown;
  answerNextDialog([&](QDialog* box) {
    shown = box->findChild<QLabel*>("lText")->text();
    clickNamed(box, "bOK");
  });
  prompts.message("Done");
  EXPECT_EQ(shown, "Done");
}

TEST(QtFileDialogs, FilterPairsBecomeQtFilters) {
  EXPECT_EQ(QtFilterFromPairs("Kalvora Instruments|*.kvi|All Files|*.*"),
            "Kalvora Instruments (*.kvi);;All Files (*.*)");
  EXPECT_EQ(QtFilterFromPairs("Wave Files|*.wav;*.wave"), "Wave Files (*.wav *.wave)");
  EXPECT_EQ(QtFilterFromPairs(""), "");
}

// ---- Process start ---------------------------------------------------------

TEST(QtProcessStarter, StartsInTheFolderWithArgumentsUnsplit) {
  QTemporaryDir dir;
  QtProcessStarter starter;
  ASSERT_TRUE(starter.startDetached("/usr/bin/touch", {"a b.txt", "$HOME;x"}, dir.path().toStdString()));
  const std::filesystem::path folder = dir.path().toStdString();
  QDeadlineTimer deadline(10000);
  while (!(std::filesystem::exists(folder / "a b.txt") && std::filesystem::exists(folder / "$HOME;x")) &&
         !deadline.hasExpired())
    QThread::msleep(10);
  EXPECT_TRUE(std::filesystem::exists(folder / "a b.txt"));
  EXPECT_TRUE(std::filesystem::exists(folder / "$HOME;x")) << "no shell expands the arguments";
  EXPECT_FALSE(starter.startDetached("/nonexistent/converter", {}, dir.path().toStdString()));
}

// ---- Fakes -----------------------------------------------------------------

TEST(FakePrompts, AnswersWhatWasExpectedInOrder) {
  kalvora::test::FakePrompts prompts;
  prompts.expectQuestion("Save changes to the current instrument?", mrCancel);
  prompts.expectConfirm("", mrYes);
  prompts.expectMessage("Done");
  EXPECT_EQ(prompts.question("Save changes to the current instrument?"), mrCancel);
  EXPECT_EQ(prompts.confirm("anything"), mrYes);
  prompts.message("Done");
  EXPECT_TRUE(prompts.allShown());
  EXPECT_EQ(prompts.shown().size(), 3u);
}

TEST(FakePrompts, UnexpectedOrMissingPromptsFailTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        kalvora::test::FakePrompts prompts;
        EXPECT_EQ(prompts.confirm("Delete?"), mrNo);
      },
      "unexpected confirmation");
  EXPECT_NONFATAL_FAILURE(
      {
        kalvora::test::FakePrompts prompts;
        prompts.expectQuestion("Save?", mrYes);
        EXPECT_EQ(prompts.question("Other?"), mrCancel);
        EXPECT_EQ(prompts.question("Save?"), mrYes);
      },
      "unexpected question");
  EXPECT_NONFATAL_FAILURE({ kalvora::test::FakePrompts prompts; prompts.expectMessage("Hello"); },
                          "was never shown");
  EXPECT_NONFATAL_FAILURE(
      {
        kalvora::test::FakeFileDialogs dialogs;
        dialogs.expectOpen(std::string("a.kvi"));
        EXPECT_EQ(dialogs.saveFile({}), std::nullopt);
        EXPECT_EQ(dialogs.openFile({}), std::optional<std::string>("a.kvi"));
      },
      "unexpected save dialog");
}

}  // namespace

// Pastes into every kind of text box the program has, under a real X display
// (the offscreen platform's clipboard is never empty the way X's is): with
// nothing copied, data with no formats, only an image, only a list of
// files, or text; by Ctrl+V, Shift+Insert and a middle click. The program
// lives, data without text changes nothing, and text goes in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <functional>

#include "MainFixture.h"
#include "platform/qt/QtPrompts.h"
#include "windows/InGlob.h"
#include "windows/MacroRec.h"
#include "windows/ManagM.h"
#include "windows/Options.h"
#include "windows/WaveGen.h"
#include "windows/dialogs/LoadInst.h"

namespace kalvora::test {
namespace {

// What a box holds before each paste, all of it selected, and the text pasted.
const QString kBefore = QStringLiteral("abc");
const QString kPasted = QStringLiteral("12");

// A box as the pastes reach it.
struct Target {
  QWidget* keys;   // where the paste keys go
  QWidget* mouse;  // where the middle click goes
  std::function<void()> reset;  // kBefore (or the number 3), all selected
  std::function<QString()> text;
};

// Brings the page, tab or child frame that holds `w` to the front, so that
// a click lands on it.
void Reveal(QWidget* w) {
  for (QWidget* p = w; p; p = p->parentWidget()) {
    if (auto* stack = qobject_cast<QStackedWidget*>(p->parentWidget())) stack->setCurrentWidget(p);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(p)) {
      frame->showNormal();
      frame->raise();
    }
  }
  w->window()->raise();
  QApplication::processEvents();
}

template <class Edit>
Target TextTarget(Edit* e) {
  Reveal(e);
  return {e, e->viewport(),
          [e] {
            e->setPlainText(kBefore);
            e->selectAll();
          },
          [e] { return e->toPlainText(); }};
}

Target LineTarget(QLineEdit* e) {
  Reveal(e);
  return {e, e,
          [e] {
            e->setText(kBefore);
            e->selectAll();
          },
          [e] { return e->text(); }};
}

// Keys go to the spin box, the mouse to the line edit inside it.
Target SpinTarget(QSpinBox* s) {
  Reveal(s);
  return {s, s->findChild<QLineEdit*>(),
          [s] {
            s->setValue(3);
            s->selectAll();
          },
          [s] { return s->text(); }};
}

class Pastes;
using InBox = std::function<void(const Target&)>;

struct Box {
  const char* key;
  // Opens the box's window from the program and runs `fn` on the box.
  std::function<void(Pastes&, TfMain&, const InBox&)> in;
  // What the box holds after kPasted goes in by a key, by a middle click
  // (at the box's left edge).
  QString keyed, middle;
};

// Editable text boxes paste the middle button's text at the caret (the end
// of the selection), line edits where the click is.
const QString kMemoKeyed = kPasted, kMemoMiddle = kBefore + kPasted;
const QString kLineKeyed = kPasted, kLineMiddle = kPasted + kBefore;

struct Content {
  const char* key;
  std::function<QMimeData*()> make;  // null: nothing copied, no owner at all
  bool text;
};

const Content kContents[] = {
    {"Nothing", [] { return nullptr; }, false},
    {"NoFormats", [] { return new QMimeData; }, false},
    {"OnlyAnImage",
     [] {
       auto* d = new QMimeData;
       d->setImageData(QImage(8, 8, QImage::Format_RGB32));
       return d;
     },
     false},
    {"OnlyAListOfFiles",
     [] {
       auto* d = new QMimeData;
       d->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/song.kvi"))});
       return d;
     },
     false},
    {"Text",
     [] {
       auto* d = new QMimeData;
       d->setText(kPasted);
       return d;
     },
     true},
};

struct Way {
  const char* key;
  QClipboard::Mode mode;
  std::function<void(const Target&)> paste;
};

const Way kWays[] = {
    {"CtrlV", QClipboard::Clipboard, [](const Target& t) { QTest::keyClick(t.keys, Qt::Key_V, Qt::ControlModifier); }},
    {"ShiftInsert", QClipboard::Clipboard,
     [](const Target& t) { QTest::keyClick(t.keys, Qt::Key_Insert, Qt::ShiftModifier); }},
    {"MiddleClick", QClipboard::Selection,
     [](const Target& t) { QTest::mouseClick(t.mouse, Qt::MiddleButton, {}, QPoint(2, t.mouse->height() / 2)); }},
};

class Pastes : public MainTest, public ::testing::WithParamInterface<int> {
 public:
  TKalvoraWindows& Windows() { return windows_; }
};

// Runs `fn` in a dialog that a command of the main window runs, then
// leaves it without keeping anything.
template <class Dialog>
void InDialog(TfMain& main, void (TfMain::*command)(), std::function<void(Dialog&)> fn) {
  WhenShown<Dialog>([fn](Dialog& d) {
    fn(d);
    d.reject();
  });
  (main.*command)();
}

const Box kBoxes[] = {
    {"InstrumentDescription",
     [](Pastes& p, TfMain&, const InBox& fn) { fn(TextTarget(p.Windows().InGlob->memoDescription)); }, kMemoKeyed,
     kMemoMiddle},
    {"DefaultDescription",
     [](Pastes&, TfMain& main, const InBox& fn) {
       InDialog<TfOptions>(main, &TfMain::RunOptions, [&](TfOptions& o) { fn(TextTarget(o.memoDescription)); });
     },
     kMemoKeyed, kMemoMiddle},
    {"MacroRecordingDescription",
     [](Pastes&, TfMain& main, const InBox& fn) {
       InDialog<TfMacroRec>(main, &TfMain::StartRecordingCommand,
                            [&](TfMacroRec& d) { fn(TextTarget(d.memoDescription)); });
     },
     kMemoKeyed, kMemoMiddle},
    {"MacroManagerDescription",
     [](Pastes&, TfMain& main, const InBox& fn) {
       InDialog<TfManagM>(main, &TfMain::MacroManagerCommand, [&](TfManagM& m) {
         m.FillMacroList(1);
         m.ShowMacroSteps();
         fn(TextTarget(m.memoDescription));
       });
     },
     kMemoKeyed, kMemoMiddle},
    {"VoiceName", [](Pastes& p, TfMain&, const InBox& fn) { fn(LineTarget(p.Windows().WaveGen->ePartName)); },
     kLineKeyed, kLineMiddle},
    {"VoiceRepeats", [](Pastes& p, TfMain&, const InBox& fn) { fn(SpinTarget(p.Windows().WaveGen->seRepeats)); },
     QStringLiteral("12"), QStringLiteral("123")},
    {"DefaultVoiceNameCell",
     [](Pastes&, TfMain& main, const InBox& fn) {
       InDialog<TfOptions>(main, &TfMain::RunOptions, [&](TfOptions& o) {
         o.pcOptions->setCurrentIndex(2);
         o.sgVoiceNames->setCurrentCell(4, 1);
         o.sgVoiceNames->editItem(o.sgVoiceNames->item(4, 1));
         auto* editor = o.sgVoiceNames->viewport()->findChild<QLineEdit*>();
         if (editor) fn(LineTarget(editor));
         else ADD_FAILURE() << "no cell editor";
       });
     },
     kLineKeyed, kLineMiddle},
    {"LoadedFileDescription",
     [](Pastes&, TfMain& main, const InBox& fn) {
       InDialog<TfLoadInst>(main, &TfMain::LoadInstrumentCommand,
                            [&](TfLoadInst& d) { fn(TextTarget(d.mDescription)); });
     },
     kBefore, kBefore},
    {"Help",
     [](Pastes&, TfMain&, const InBox& fn) {
       kalvora::platform::QtHelp help("/nonexistent/kalvora.hlp");
       help.showContents();
       for (QWidget* w : QApplication::topLevelWidgets())
         if (auto* browser = qobject_cast<QTextBrowser*>(w); browser && browser->isVisible()) return fn(TextTarget(browser));
       ADD_FAILURE() << "no help window";
     },
     kBefore, kBefore},
};

TEST_P(Pastes, WithoutTextChangeNothingAndTextGoesIn) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run under an X display (xvfb-run)";
  ASSERT_TRUE(QGuiApplication::clipboard()->supportsSelection());
  const Box& box = kBoxes[GetParam()];
  TfMain& main = Start();
  box.in(*this, main, [&](const Target& t) {
    ASSERT_NE(t.mouse, nullptr);
    for (const Content& content : kContents) {
      for (const Way& way : kWays) {
        SCOPED_TRACE(std::string(content.key) + " by " + way.key);
        t.reset();
        const QString before = t.text();
        main.SetInstrumentUpToDate(true);
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (QMimeData* data = content.make()) clipboard->setMimeData(data, way.mode);
        else clipboard->clear(way.mode);
        way.paste(t);
        if (content.text) {
          EXPECT_EQ(t.text(), way.mode == QClipboard::Selection ? box.middle : box.keyed);
        } else {
          EXPECT_EQ(t.text(), before);
          EXPECT_TRUE(main.IsInstrumentUpToDate());
        }
      }
    }
  });
  main.SetInstrumentUpToDate(true);
}

// Keys that paste elsewhere are still keys to a hot key field.
class HotKey : public MainTest {};

TEST_F(HotKey, TakesCtrlVWithNothingCopied) {
  TfMain& main = Start();
  InDialog<TfMacroRec>(main, &TfMain::StartRecordingCommand, [](TfMacroRec& d) {
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(d.HotKey, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(d.HotKey->keySequence(), QKeySequence(Qt::ControlModifier | Qt::Key_V));
  });
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfBox, Pastes, ::testing::Range(0, static_cast<int>(std::size(kBoxes))),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(kBoxes[info.param].key); });

}  // namespace
}  // namespace kalvora::test

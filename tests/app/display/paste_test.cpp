// Pastes into every kind of text box the program has, under a real X display
// (the offscreen platform's clipboard is never empty the way X's is): with
// nothing copied, data with no formats, only an image, only a list of
// files, or text with or without a charset, set here or by another program;
// by Ctrl+V, Shift+Insert, Ctrl+Shift+Insert, a middle click and the
// context menu's Paste. The program lives, data without text changes
// nothing, text goes in, each way reads its own source and reads it once;
// a drop a field refuses leaves its source whole.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QImage>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

#include "MainFixture.h"
#include "platform/qt/QtPrompts.h"
#include "views/BoundedMemo.h"
#include "windows/FreeEdit.h"
#include "windows/InGlob.h"
#include "windows/MacroRec.h"
#include "windows/ManagM.h"
#include "windows/Options.h"
#include "windows/PresetWindows.h"
#include "windows/WaveGen.h"
#include "windows/dialogs/LoadInst.h"

namespace kalvora::test {
namespace {

// What a box holds before each paste, all of it selected, and the text pasted.
const QString kBefore = QStringLiteral("abc");
const QString kPasted = QStringLiteral("12");
// What the source a way does not read holds: a way that reads the wrong
// one brings it.
const QString kElsewhere = QStringLiteral("99");

// A box as the pastes reach it.
struct Target {
  QWidget* keys;   // where the paste keys and the menu key go
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
  // What the box holds after kPasted goes in by a key or the menu, by a
  // middle click (at the box's left edge); kBefore for a read-only box.
  QString keyed, middle;
  // Whether its context menu is the standard one, with Paste.
  bool pasteMenu = true;
};

// Editable text boxes paste the middle button's text at the caret (the end
// of the selection), line edits where the click is.
const QString kMemoKeyed = kPasted, kMemoMiddle = kBefore + kPasted;
const QString kLineKeyed = kPasted, kLineMiddle = kPasted + kBefore;

// Data that counts how often it is asked for the bytes of a format.
class CountingMimeData : public QMimeData {
 public:
  mutable int reads = 0;

 protected:
  QVariant retrieveData(const QString& format, QMetaType type) const override {
    ++reads;
    return QMimeData::retrieveData(format, type);
  }
};

CountingMimeData* CountedText(const QString& format) {
  auto* d = new CountingMimeData;
  d->setData(format, kPasted.toUtf8());
  return d;
}

struct Content {
  const char* key;
  std::function<QMimeData*()> make;  // null: nothing copied, or copied by `owner`
  // What another program offers (see clipboard_owner.cpp); the X server
  // then names the formats.
  const char* owner;
  bool text;
};

const Content kContents[] = {
    {"Nothing", nullptr, nullptr, false},
    {"NoFormats", [] { return new QMimeData; }, nullptr, false},
    {"OnlyAnImage",
     [] {
       auto* d = new QMimeData;
       d->setImageData(QImage(8, 8, QImage::Format_RGB32));
       return d;
     },
     nullptr, false},
    {"OnlyAListOfFiles",
     [] {
       auto* d = new QMimeData;
       d->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/song.kvi"))});
       return d;
     },
     nullptr, false},
    {"Text", [] { return CountedText(QStringLiteral("text/plain")); }, nullptr, true},
    {"TextWithCharset", [] { return CountedText(QStringLiteral("text/plain;charset=utf-8")); }, nullptr, true},
    // Another program's list of files can not be had here: Qt offers one
    // as text too.
    {"NothingFromAnotherProgram", nullptr, "none", false},
    {"ImageFromAnotherProgram", nullptr, "image", false},
    {"TextFromAnotherProgram", nullptr, "text", true},
    {"TextWithCharsetFromAnotherProgram", nullptr, "text-utf8", true},
};

// Another program that owns the clipboard and the selection while this lives.
class ForeignOwner {
 public:
  explicit ForeignOwner(const char* kind) {
    QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::changed);
    process_.start(QStringLiteral(KALVORA_CLIPBOARD_OWNER), {QString::fromLatin1(kind), kPasted});
    ready_ = process_.waitForReadyRead(10000) && process_.readLine().trimmed() == "ready";
    // This program learns of the new owner from the X server.
    auto told = [&](QClipboard::Mode mode) {
      return std::any_of(changed.begin(), changed.end(),
                         [mode](const QList<QVariant>& args) { return args.at(0).value<QClipboard::Mode>() == mode; });
    };
    ready_ = ready_ && QTest::qWaitFor([&] { return told(QClipboard::Clipboard) && told(QClipboard::Selection); }, 5000);
  }
  ~ForeignOwner() {
    process_.kill();
    process_.waitForFinished();
  }
  bool Ready() const { return ready_; }

 private:
  QProcess process_;
  bool ready_ = false;
};

// Opens the box's context menu as the menu key does and clicks Paste when
// the menu offers it; whether it did. `armed` runs just before the click.
bool ClickMenuPaste(QWidget* w, const std::function<void()>& armed) {
  struct State {
    bool done = false, offered = false;
  };
  auto state = std::make_shared<State>();
  QTimer::singleShot(0, [state, armed] {
    state->done = true;
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return ADD_FAILURE() << "no context menu";
    for (QAction* a : menu->actions()) {
      if (!a->text().startsWith(QLatin1String("&Paste")) || !a->isEnabled()) continue;
      state->offered = true;
      armed();
      a->trigger();
    }
    menu->close();
  });
  QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(w, &e);
  EXPECT_TRUE(QTest::qWaitFor([state] { return state->done; }, 5000));
  QApplication::processEvents();
  return state->offered;
}

struct Way {
  const char* key;
  QClipboard::Mode mode;
  // Pastes into the box; `armed` runs just before the paste itself. For
  // the menu, whether it offered Paste.
  std::function<std::optional<bool>(const Target&, const std::function<void()>& armed)> paste;
  bool atTheClick;  // pastes where the click is rather than over the selection
  bool menu;
};

std::function<std::optional<bool>(const Target&, const std::function<void()>&)> Keys(Qt::Key key,
                                                                                   Qt::KeyboardModifiers modifiers) {
  return [=](const Target& t, const std::function<void()>& armed) -> std::optional<bool> {
    armed();
    QTest::keyClick(t.keys, key, modifiers);
    return std::nullopt;
  };
}

const Way kWays[] = {
    {"CtrlV", QClipboard::Clipboard, Keys(Qt::Key_V, Qt::ControlModifier), false, false},
    {"ShiftInsert", QClipboard::Clipboard, Keys(Qt::Key_Insert, Qt::ShiftModifier), false, false},
    {"CtrlShiftInsert", QClipboard::Selection, Keys(Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier), false,
     false},
    {"MiddleClick", QClipboard::Selection,
     [](const Target& t, const std::function<void()>& armed) -> std::optional<bool> {
       armed();
       QTest::mouseClick(t.mouse, Qt::MiddleButton, {}, QPoint(2, t.mouse->height() / 2));
       return std::nullopt;
     },
     true, false},
    {"MenuPaste", QClipboard::Clipboard,
     [](const Target& t, const std::function<void()>& armed) -> std::optional<bool> {
       return ClickMenuPaste(t.keys, armed);
     },
     false, true},
};

const Way& WayOf(const std::string& key) {
  return *std::find_if(std::begin(kWays), std::end(kWays), [&](const Way& w) { return w.key == key; });
}

class Pastes : public MainTest, public ::testing::WithParamInterface<int> {
 public:
  TKalvoraWindows& Windows() { return windows_; }
  QString Folder() const { return QString::fromStdString(dir_.string()); }
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
    // The voice's name and repeats have a menu of the program's own.
    {"VoiceName", [](Pastes& p, TfMain&, const InBox& fn) { fn(LineTarget(p.Windows().WaveGen->ePartName)); },
     kLineKeyed, kLineMiddle, false},
    {"PresetName",
     [](Pastes&, TfMain& main, const InBox& fn) {
       TfFreeEdit w(PresetWindowHost(main));
       w.FormActivate();
       w.show();
       fn(LineTarget(w.eName));
     },
     kLineKeyed, kLineMiddle},
    {"SettingsField",
     [](Pastes&, TfMain& main, const InBox& fn) {
       InDialog<TfOptions>(main, &TfMain::RunOptions, [&](TfOptions& o) {
         o.pcOptions->setCurrentIndex(0);
         if (!o.cbAutoConvert->isChecked()) o.cbAutoConvert->click();
         fn(LineTarget(o.eAutoConvertProgram));
       });
     },
     kLineKeyed, kLineMiddle},
    {"VoiceRepeats", [](Pastes& p, TfMain&, const InBox& fn) { fn(SpinTarget(p.Windows().WaveGen->seRepeats)); },
     QStringLiteral("12"), QStringLiteral("123"), false},
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
    // Qt's own dialog, in an empty folder so that no name completes.
    {"FileDialogName",
     [](Pastes& p, TfMain& main, const InBox& fn) {
       QFileDialog d(&main, QString(), p.Folder());
       d.setOption(QFileDialog::DontUseNativeDialog);
       d.setAcceptMode(QFileDialog::AcceptSave);
       d.show();
       auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
       if (name) fn(LineTarget(name));
       else ADD_FAILURE() << "no name field";
     },
     kLineKeyed, kLineMiddle},
    {"LoadedFileDescription",
     [](Pastes&, TfMain& main, const InBox& fn) {
       InDialog<TfLoadInst>(main, &TfMain::LoadInstrumentCommand,
                            [&](TfLoadInst& d) { fn(TextTarget(d.mDescription)); });
     },
     kBefore, kBefore, false},
    {"Help",
     [](Pastes&, TfMain&, const InBox& fn) {
       kalvora::platform::QtHelp help("/nonexistent/kalvora.hlp");
       help.showContents();
       for (QWidget* w : QApplication::topLevelWidgets())
         if (auto* browser = qobject_cast<QTextBrowser*>(w); browser && browser->isVisible()) return fn(TextTarget(browser));
       ADD_FAILURE() << "no help window";
     },
     kBefore, kBefore, false},
};

TEST_P(Pastes, WithoutTextChangeNothingAndTextGoesIn) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run under an X display (xvfb-run)";
  ASSERT_TRUE(QGuiApplication::clipboard()->supportsSelection());
  const Box& box = kBoxes[GetParam()];
  const bool editable = box.keyed != kBefore;  // a read-only box keeps what it holds
  TfMain& main = Start();
  box.in(*this, main, [&](const Target& t) {
    ASSERT_NE(t.mouse, nullptr);
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const Content& content : kContents) {
      std::unique_ptr<ForeignOwner> owner;
      if (content.owner) {
        owner = std::make_unique<ForeignOwner>(content.owner);
        if (!owner->Ready()) {
          ADD_FAILURE() << "no clipboard owner for " << content.key;
          continue;
        }
      }
      for (const Way& way : kWays) {
        SCOPED_TRACE(std::string(content.key) + " by " + way.key);
        t.reset();
        const QString before = t.text();
        main.SetInstrumentUpToDate(true);
        QMimeData* data = content.make ? content.make() : nullptr;
        if (!content.owner) {
          if (data) clipboard->setMimeData(data, way.mode);
          else clipboard->clear(way.mode);
          clipboard->setText(kElsewhere, way.mode == QClipboard::Clipboard ? QClipboard::Selection
                                                                          : QClipboard::Clipboard);
        }
        auto* counted = dynamic_cast<CountingMimeData*>(data);
        const std::optional<bool> offered = way.paste(t, [counted] {
          if (counted) counted->reads = 0;
        });
        const bool pastes = !way.menu || box.pasteMenu;
        if (content.text && pastes) {
          EXPECT_EQ(t.text(), way.atTheClick ? box.middle : box.keyed);
        } else {
          EXPECT_EQ(t.text(), before);
          EXPECT_TRUE(main.IsInstrumentUpToDate());
        }
        if (offered) {
          EXPECT_EQ(*offered, editable && box.pasteMenu && content.text) << "the menu's Paste";
        }
        // The paste reads what one text() of the data reads, no more.
        if (counted && editable && pastes) {
          std::unique_ptr<QMimeData> fresh(content.make());
          fresh->text();
          EXPECT_EQ(counted->reads, static_cast<CountingMimeData*>(fresh.get())->reads);
        }
      }
    }
  });
  main.SetInstrumentUpToDate(true);
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfBox, Pastes, ::testing::Range(0, static_cast<int>(std::size(kBoxes))),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(kBoxes[info.param].key); });

// With little room left in a name, each way pastes from its own source and
// cuts what it read: the selection is not the clipboard.
TEST_F(Pastes, EachWayCutsWhatItReadsToFit) {
  const struct {
    const char* way;
    QString selection;
    QString added;
  } cases[] = {
      {"CtrlShiftInsert", "sel", "sel"},
      {"CtrlShiftInsert", "SELECTIONTEXT", "SELEC"},
      {"MiddleClick", "sel", "sel"},
      {"MiddleClick", "SELECTIONTEXT", "SELEC"},
      {"CtrlV", "sel", "CLIPB"},
      {"ShiftInsert", "sel", "CLIPB"},
  };
  TfMain& main = Start();
  QLineEdit* name = Windows().WaveGen->ePartName;
  const QString before(static_cast<int>(TVoice::kMaxName) - 5, QLatin1Char('a'));
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.way) + " of " + c.selection.toStdString());
    name->setText(before);
    name->setCursorPosition(0);  // where the middle click at the left edge puts it too
    QGuiApplication::clipboard()->setText(QStringLiteral("CLIPBOARDTEXT"));
    QGuiApplication::clipboard()->setText(c.selection, QClipboard::Selection);
    WayOf(c.way).paste(LineTarget(name), [] {});
    EXPECT_EQ(name->text(), c.added + before);
  }
  main.SetInstrumentUpToDate(true);
}

// Drops from elsewhere (or another box) as a drag's target sees them: a
// drop a field refuses or that brings nothing ends ignored, so the drag
// leaves its source whole; one cut to fit is a copy, so the part cut off
// stays there; one taken whole is the move proposed.
class Drops : public MainTest {
 public:
  TKalvoraWindows& Windows() { return windows_; }
};

QMimeData* TextData(const QString& format, const QString& text) {
  auto* d = new QMimeData;
  d->setData(format, text.toUtf8());
  return d;
}
QMimeData* FileList() {
  auto* d = new QMimeData;
  d->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/song.kvi"))});
  return d;
}
QMimeData* Image() {
  auto* d = new QMimeData;
  d->setImageData(QImage(8, 8, QImage::Format_RGB32));
  return d;
}

enum class DropOn { VoiceName, SettingsField, Description };

TEST_F(Drops, RefusedLeaveTheSourceWholeAndCutOnesCopy) {
  const QString kNearlyFull(static_cast<int>(TVoice::kMaxName) - 5, QLatin1Char('a'));
  const QString kPlain = QStringLiteral("text/plain");
  const struct {
    const char* key;
    DropOn on;
    QString before;
    std::function<QMimeData*()> data;
    QString after;
    Qt::DropAction result;  // what the drag that dropped it ends with
  } cases[] = {
      {"BothLinesOfADescriptionOntoTheVoiceName", DropOn::VoiceName, "Pad",
       [&] { return TextData(kPlain, "line one\nline two"); }, "Pad", Qt::IgnoreAction},
      {"LineBreakOntoASettingsField", DropOn::SettingsField, "sox", [&] { return TextData(kPlain, "-r\n44100"); },
       "sox", Qt::IgnoreAction},
      {"FilesOntoTheVoiceName", DropOn::VoiceName, "Pad", FileList, "Pad", Qt::IgnoreAction},
      {"ImageOntoASettingsField", DropOn::SettingsField, "sox", Image, "sox", Qt::IgnoreAction},
      {"NoRoomInTheVoiceName", DropOn::VoiceName, kNearlyFull + "bbbbb", [&] { return TextData(kPlain, "Pad"); },
       kNearlyFull + "bbbbb", Qt::IgnoreAction},
      {"CutToFitTheVoiceName", DropOn::VoiceName, kNearlyFull, [&] { return TextData(kPlain, "0123456789"); },
       kNearlyFull + "01234", Qt::CopyAction},
      {"WholeOntoTheVoiceName", DropOn::VoiceName, "Pad", [&] { return TextData(kPlain, "Bass"); }, "PadBass",
       Qt::MoveAction},
      {"TextWithCharsetOntoASettingsField", DropOn::SettingsField, "sox",
       [&] { return TextData(QStringLiteral("text/plain;charset=utf-8"), " -q"); }, "sox -q", Qt::MoveAction},
      {"FilesOntoTheDescription", DropOn::Description, "1234567", FileList, "1234567", Qt::IgnoreAction},
      {"NoRoomInTheDescription", DropOn::Description, "1234567890", [&] { return TextData(kPlain, "ab"); },
       "1234567890", Qt::IgnoreAction},
      {"CutToFitTheDescription", DropOn::Description, "1234567", [&] { return TextData(kPlain, "abcdef"); },
       "1234567abc", Qt::CopyAction},
      {"WholeOntoTheDescription", DropOn::Description, "1234567", [&] { return TextData(kPlain, "a\nb"); },
       "1234567a\nb", Qt::MoveAction},
  };
  TfMain& main = Start();
  TfOptions options(&main, &dialogs_, &midi_);
  options.show();
  if (!options.cbAutoConvert->isChecked()) options.cbAutoConvert->click();
  TBoundedMemo memo(10);  // a description box with little room
  memo.resize(300, 200);
  memo.show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    QWidget* target = nullptr;
    std::function<QString()> text;
    if (c.on == DropOn::Description) {
      memo.setPlainText(c.before);
      target = memo.viewport();
      text = [&memo] { return memo.Text(); };
    } else {
      QLineEdit* e = c.on == DropOn::VoiceName ? Windows().WaveGen->ePartName : options.eAutoConvertProgram;
      e->setText(c.before);
      Reveal(e);
      target = e;
      text = [e] { return e->text(); };
    }
    std::unique_ptr<QMimeData> data(c.data());
    const QPoint at(target->width() - 2, target->height() - 2);
    // A text's drag proposes a move, as Shift does.
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(target, &enter);
    // A box takes the drag of anything that offers text.
    EXPECT_EQ(enter.isAccepted(), data->hasFormat(kPlain) || data->hasFormat("text/plain;charset=utf-8"));
    QDropEvent drop(at, actions, data.get(), Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(drop.proposedAction(), Qt::MoveAction);
    QApplication::sendEvent(target, &drop);
    EXPECT_EQ(text(), c.after);
    // As QDrag::exec reports it to the source, which takes the text away
    // only on a move.
    EXPECT_EQ(drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction, c.result);
  }
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

}  // namespace
}  // namespace kalvora::test

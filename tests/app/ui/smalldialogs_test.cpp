// The small dialogs: each box's keys and buttons give the documented modal
// results, the prompts go through the boxes, the open dialog previews
// instrument files, the about box's figure, and all read at the default font.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <functional>
#include <memory>

#include "Legibility.h"
#include "TempFolder.h"
#include "components/AnimatedImage.h"
#include "components/SharedClip.h"
#include "formats/InstrumentFile.h"
#include "windows/dialogs/DialogPrompts.h"
#include "windows/dialogs/LoadInst.h"
#include "windows/dialogs/SmallDialogs.h"

using namespace kalvora::test;

namespace {

int Press(QDialog& d, int key) {
  d.setResult(0);
  d.show();
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&d, &e);
  return d.result();
}

TEST(SmallDialogs, KeysGiveTheModalResults) {
  TfSure sure;
  TfQuestion question;
  TfMessage message;
  TfNewPresetName presetName;
  TfAbout about;
  struct Case {
    QDialog* box;
    int key;
    int result;
  } cases[] = {
      {&sure, Qt::Key_Return, 6},     {&sure, Qt::Key_Escape, 7},       {&sure, Qt::Key_F1, 0},
      {&question, Qt::Key_Return, 6}, {&question, Qt::Key_Escape, 2},   {&question, Qt::Key_Enter, 6},
      {&message, Qt::Key_Return, 1},  {&message, Qt::Key_Escape, 1},    {&presetName, Qt::Key_Return, 1},
      {&presetName, Qt::Key_Escape, 1}, {&about, Qt::Key_Escape, 1},    {&about, Qt::Key_Return, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Press(*c.box, c.key), c.result) << c.box->objectName().toStdString() << " key " << c.key;
    c.box->hide();
  }
}

TEST(SmallDialogs, ButtonsGiveTheirResultsAndTheAnimationPlaysWhileShown) {
  TfQuestion question;
  struct Case {
    QPushButton* button;
    int result;
  } cases[] = {{question.bYes, 6}, {question.bNo, 7}, {question.bCancel, 2}};
  for (const Case& c : cases) {
    question.show();
    EXPECT_TRUE(question.Animation()->Playing());
    c.button->click();
    EXPECT_EQ(question.result(), c.result);
    EXPECT_FALSE(question.Animation()->Playing());
  }
  EXPECT_EQ(question.Animation()->AniClip().Clip().Columns(), 18);
  EXPECT_EQ(question.Animation()->Timer().interval(), 0 + 100);
  TfMessage message;
  EXPECT_EQ(message.Animation()->AniClip().Clip().Columns(), 9);
}

// The prompts of the program go through the boxes made at start-up.
TEST(SmallDialogs, PromptsShowTheProgramsBoxes) {
  TfSure sure;
  TfQuestion question;
  TfMessage message;
  TDialogPrompts prompts;
  auto answer = [](QDialog* box, int key) {
    QTimer::singleShot(0, box, [box, key] {
      QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(box, &e);
    });
  };
  answer(&question, Qt::Key_Escape);
  EXPECT_EQ(prompts.question("Save changes to the current instrument?"), kalvora::platform::mrCancel);
  EXPECT_EQ(question.lText->text(), "Save changes to the current instrument?");
  SaveScreenshot(&question, "smalldialogs_question");
  EXPECT_TRUE(ClippedTexts(&question).isEmpty()) << ClippedTexts(&question).join("\n").toStdString();
  answer(&sure, Qt::Key_Return);
  EXPECT_EQ(prompts.confirm("Are you sure?"), kalvora::platform::mrYes);
  answer(&message, Qt::Key_Escape);
  prompts.message("The preset already exists.");
  EXPECT_EQ(message.lText->text(), "The preset already exists.");
}

TEST(SmallDialogs, NewNameDialogsShowTheClashAndCutTheName) {
  TfNewPresetName p;
  p.SetClashingName("Sawtooth");
  EXPECT_EQ(p.lPresetWaveName->text(), "\"Sawtooth\"");
  p.eNewName->setText(QString(40, QLatin1Char('x')));
  EXPECT_EQ(p.NewName(), std::string(30, 'x'));
  TfNewEnvelopeName e;
  e.SetClashingName("Full");
  e.eNewName->setText(QString(25, QLatin1Char('y')));
  EXPECT_EQ(e.NewName(), std::string(20, 'y'));
  EXPECT_EQ(e.lEnvelopeName->objectName(), "lEnvelopeName");
  // Names are Windows-1252 bytes both ways, also beyond Latin-1.
  p.SetClashingName("S\xE4gezahn \x96 \x93weich\x94 \x80");
  EXPECT_EQ(p.lPresetWaveName->text(), QString::fromUtf8("\"Sägezahn – “weich” €\""));
  p.eNewName->setText(QString::fromUtf8("“€” – café"));
  EXPECT_EQ(p.NewName(), "\x93\x80\x94 \x96 caf\xE9");
}

TEST(SmallDialogs, AboutFigureClosesOnItselfAndTicksDraw) {
  TfAbout about;
  about.show();
  ASSERT_EQ(about.Figure().size(), 1001u);
  EXPECT_EQ(about.Figure()[1000], about.Figure()[0]);
  EXPECT_EQ(about.Figure()[0], (TPoint{170, 98}));
  const int x0 = about.StripX();
  EXPECT_EQ(x0, 337);
  for (int i = 0; i < 100; ++i) about.Tick();
  EXPECT_EQ(about.StripX(), x0 - 100);
  // The head line of the last tick runs from point 99 back to point 19 in blue.
  const TPoint head = about.Figure()[99];
  const QColor c = about.Bitmap().pixelColor(head.x, head.y);
  EXPECT_EQ(c.red(), 0);
  EXPECT_GT(c.blue(), 0);
  SaveScreenshot(&about, "smalldialogs_about");
  about.hide();
  EXPECT_FALSE(about.Timer().isActive());
}

TEST(SmallDialogs, EveryBoxReadsAtTheDefaultFont) {
  TfSure sure;
  TfQuestion question;
  question.SetQuestionText("Save changes to the current instrument?");
  TfMessage message;
  message.SetMessageText("The preset \"Sawtooth\" already exists in the library.");
  TfNewPresetName p;
  p.SetClashingName("Sawtooth");
  TfNewEnvelopeName e;
  e.SetClashingName("Full");
  TfLoadInst load;
  for (QDialog* d : std::initializer_list<QDialog*>{&sure, &question, &message, &p, &e, &load}) {
    d->show();
    QApplication::processEvents();
    SaveScreenshot(d, "smalldialogs_" + d->objectName());
    EXPECT_TRUE(ClippedTexts(d).isEmpty()) << ClippedTexts(d).join("\n").toStdString();
    d->hide();
  }
}

class LoadInstTest : public TempFolderTest {
 protected:
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  void Select(TfLoadInst& d, const QString& name) {
    const auto items = d.FileList->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    d.FileList->setCurrentItem(items[0]);
  }
  static std::string Instrument(int version, const std::string& description) {
    using namespace std::string_literals;
    return "Kalvora Instrument File\0"s + char(version) + "\x01\x00"s + description + '\0';
  }
  // a.kvi, b.kvi, notes.txt; plain/ holds no instrument, only other.txt and
  // the folders more/ and songs/ (c.kvi, d.kvi, and the folder live/).
  void WriteFolders() {
    for (const char* folder : {"plain/more", "plain/songs/live"}) std::filesystem::create_directories(dir_ / folder);
    Write("a.kvi", Instrument(30, "alpha"));
    Write("b.kvi", Instrument(29, "beta"));
    Write("notes.txt", "not listed under Instruments");
    Write("plain/other.txt", "no instrument");
    Write("plain/songs/c.kvi", Instrument(30, "gamma"));
    Write("plain/songs/d.kvi", Instrument(30, "delta"));
  }
  // A click as a user's: pressed and released on the entry shown so.
  static void Click(QListWidget* list, const QString& text) {
    const auto items = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    list->scrollToItem(items[0]);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items[0]).center());
  }
  // A radio button takes a click on its circle or its text only.
  static void Choose(QRadioButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->fontMetrics().height() / 2, b->height() / 2));
    ASSERT_TRUE(b->isChecked()) << b->text().toStdString();
  }
  // What the dialog shows as one line: the highlighted file, the name
  // field, the information and whether "&Load" is enabled.
  static std::string Shown(const TfLoadInst& d) {
    const QListWidgetItem* file = d.FileList->currentItem();
    return "highlight=" + (file && file->isSelected() ? file->text().toStdString() : "") +
           " name=" + d.eFileName->text().toStdString() + " version=" + d.lVersion->text().toStdString() +
           " description=" + d.mDescription->toPlainText().toStdString() + " size=" + d.lSize->text().toStdString() +
           " date=" + (d.lDate->text().isEmpty() ? "no" : "yes") + " load=" + (d.bLoad->isEnabled() ? "on" : "off");
  }
  std::string Expected(const std::string& folder, const std::string& file, const std::string& name,
                       const std::string& version, const std::string& description, bool load) const {
    const std::string size = file.empty() ? "" : std::to_string(std::filesystem::file_size(dir_ / folder / file)) + " Bytes";
    return "highlight=" + file + " name=" + name + " version=" + version + " description=" + description +
           " size=" + size + " date=" + (file.empty() ? "no" : "yes") + " load=" + (load ? "on" : "off");
  }
  QString Path(const std::string& folder) const {
    return QString::fromStdString((folder.empty() ? dir_ : dir_ / folder).string());
  }
  // The dialog shown in `start` of a fresh set of folders, with what it loads.
  struct Opened {
    TfLoadInst d;
    std::vector<std::filesystem::path> loaded;
  };
  std::unique_ptr<Opened> OpenIn(const std::string& start) {
    std::filesystem::remove_all(dir_);
    WriteFolders();
    auto o = std::make_unique<Opened>();
    o->d.Load = [o = o.get()](const std::filesystem::path& p) { o->loaded.push_back(p); };
    o->d.SetFolder(Path(start));
    o->d.show();
    return o;
  }
};

// After every re-read the highlighted file, the name field, its
// information and "&Load" agree; with nothing highlighted the information
// is empty, "&Load" disabled and the name field shows the mask.
TEST_F(LoadInstTest, TheHighlightedFileAndItsInformationAgreeAfterEveryReread) {
  const std::string wrongFormat = "              wrong file format\n              --------------------------";
  using Act = std::function<void(TfLoadInst&)>;
  auto confirmDelete = [](TfLoadInst& d) {
    d.Confirm = [] { return true; };
    QTest::mouseClick(d.bDelete, Qt::LeftButton);
  };
  struct Case {
    const char* what;
    std::string start;
    Act act;
    std::string folder, file, name, version, description;
    bool load;
  } cases[] = {
      {"open", "", [](TfLoadInst&) {}, "", "a.kvi", "a.kvi", "3.0", "alpha", true},
      {"open a folder without instruments", "plain", [](TfLoadInst&) {}, "plain", "", "*.kvi", "", "", false},
      {"enter a folder", "plain", [](TfLoadInst& d) { Click(d.DirectoryList, "songs"); },
       "plain/songs", "c.kvi", "c.kvi", "3.0", "gamma", true},
      {"back up to a folder without instruments", "plain/songs",
       [](TfLoadInst& d) {
         Click(d.FileList, "d.kvi");
         Click(d.DirectoryList, "plain");
       },
       "plain", "", "*.kvi", "", "", false},
      {"Delete the highlighted file", "", confirmDelete, "", "b.kvi", "b.kvi", "2.9", "beta", true},
      {"Delete the last one", "plain/songs",
       [&](TfLoadInst& d) {
         Click(d.FileList, "d.kvi");
         confirmDelete(d);
       },
       "plain/songs", "c.kvi", "c.kvi", "3.0", "gamma", true},
      {"All Files", "plain", [](TfLoadInst& d) { Choose(d.rbAllFiles); },
       "plain", "other.txt", "other.txt", "", wrongFormat, false},
      {"All Files keeps the highlighted file", "",
       [](TfLoadInst& d) {
         Click(d.FileList, "b.kvi");
         Choose(d.rbAllFiles);
       },
       "", "b.kvi", "b.kvi", "2.9", "beta", true},
      {"back to Instruments in a folder without them", "plain",
       [](TfLoadInst& d) {
         Choose(d.rbAllFiles);
         Choose(d.rbInstruments);
       },
       "plain", "", "*.kvi", "", "", false},
      {"open again after the highlighted file went", "",
       [&](TfLoadInst& d) {
         Click(d.FileList, "b.kvi");
         d.hide();
         std::filesystem::remove(dir_ / "b.kvi");
         d.show();
       },
       "", "a.kvi", "a.kvi", "3.0", "alpha", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto opened = OpenIn(c.start);
    TfLoadInst& d = opened->d;
    c.act(d);
    EXPECT_EQ(d.Folder().toStdString(), Path(c.folder).toStdString());
    EXPECT_EQ(Shown(d), Expected(c.folder, c.file, c.name, c.version, c.description, c.load));
    // Return loads the file the dialog shows, of any kind, or nothing when
    // none is.
    QTest::keyClick(d.FileList, Qt::Key_Return);
    EXPECT_EQ(opened->loaded, !c.file.empty() ? std::vector<std::filesystem::path>{dir_ / c.folder / c.file} : std::vector<std::filesystem::path>{});
  }
}

// A click on the file already highlighted shows its information again, as
// the file is now.
TEST_F(LoadInstTest, ClickingTheHighlightedFileShowsItsInformation) {
  const auto opened = OpenIn("");
  TfLoadInst& d = opened->d;
  EXPECT_EQ(Shown(d), Expected("", "a.kvi", "a.kvi", "3.0", "alpha", true));
  Write("a.kvi", Instrument(29, "alpha, edited"));
  Click(d.FileList, "a.kvi");
  EXPECT_EQ(Shown(d), Expected("", "a.kvi", "a.kvi", "2.9", "alpha, edited", true));
  Write("a.kvi", "no instrument at all");
  Click(d.FileList, "a.kvi");
  EXPECT_EQ(Shown(d), Expected("", "a.kvi", "a.kvi", "", "              wrong file format\n              --------------------------", false));
}

// Return on a folder opens that folder and nothing else; Return anywhere
// else loads the highlighted file and closes.
TEST_F(LoadInstTest, ReturnOnAFolderOpensItAndLoadsNothing) {
  struct Case {
    const char* what;
    std::string start;
    std::vector<int> keys;  // pressed in the folder list before Return
    std::string folder;     // listed afterwards
    const char* highlighted;
  } cases[] = {
      {"a sub-folder", "plain", {Qt::Key_Down, Qt::Key_Down}, "plain/songs", "c.kvi"},
      {"the parent", "plain/songs", {Qt::Key_Up}, "plain", ""},
      {"the current folder", "plain/songs", {}, "plain/songs", "c.kvi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
      const auto opened = OpenIn(c.start);
      TfLoadInst& d = opened->d;
      d.DirectoryList->setFocus();
      for (const int k : c.keys) QTest::keyClick(d.DirectoryList, Qt::Key(k));
      QTest::keyClick(d.DirectoryList, Qt::Key(key));
      EXPECT_TRUE(opened->loaded.empty());
      EXPECT_TRUE(d.isVisible());
      EXPECT_EQ(d.Folder().toStdString(), Path(c.folder).toStdString());
      EXPECT_EQ(d.FileList->currentItem() ? d.FileList->currentItem()->text().toStdString() : "", c.highlighted);
    }
  }
  const auto opened = OpenIn("plain/songs");
  TfLoadInst& d = opened->d;
  QTest::keyClick(d.FileList, Qt::Key_Down);
  QTest::keyClick(d.FileList, Qt::Key_Return);
  EXPECT_EQ(opened->loaded, std::vector<std::filesystem::path>{dir_ / "plain/songs/d.kvi"});
  EXPECT_FALSE(d.isVisible());
}

// The folder list reads as the path from the root down to the current
// folder, which is highlighted, then its sub-folders one step further in;
// a click on any of them lists that folder.
TEST_F(LoadInstTest, TheFolderListShowsThePathAndAClickListsAnyOfItsFolders) {
  const auto opened = OpenIn("plain/songs");
  TfLoadInst& d = opened->d;
  auto listed = [&] {
    QStringList names;
    for (int i = 0; i < d.DirectoryList->count(); ++i) names << d.DirectoryList->item(i)->text();
    return names;
  };
  QStringList path{"/"};
  for (const auto& part : dir_.relative_path()) path << QString::fromStdString(part.string());
  EXPECT_EQ(listed(), (path + QStringList{"plain", "songs", "live"}));
  EXPECT_EQ(d.DirectoryList->currentItem()->text(), "songs");
  EXPECT_TRUE(d.DirectoryList->currentItem()->isSelected());
  EXPECT_TRUE(d.DirectoryList->currentItem()->font().bold());
  // Each entry stands further in than the one above it, the sub-folder
  // under the current one: its width beside its text grows.
  auto besideText = [&](int row) {
    QStyleOptionViewItem o;
    o.initFrom(d.DirectoryList);
    const QListWidgetItem* item = d.DirectoryList->item(row);
    return d.DirectoryList->itemDelegate()->sizeHint(o, d.DirectoryList->model()->index(row, 0)).width() -
           QFontMetrics(item->font()).horizontalAdvance(item->text());
  };
  for (int i = 1; i < d.DirectoryList->count(); ++i) EXPECT_GT(besideText(i), besideText(i - 1)) << i;
  SaveScreenshot(&d, "smalldialogs_loadinst_path");
  EXPECT_TRUE(ClippedTexts(&d).isEmpty()) << ClippedTexts(&d).join("\n").toStdString();

  Click(d.DirectoryList, QString::fromStdString(dir_.filename().string()));
  EXPECT_EQ(d.Folder().toStdString(), Path("").toStdString());
  EXPECT_EQ(listed(), (path + QStringList{"plain"}));
  EXPECT_EQ(d.FileList->currentItem()->text(), "a.kvi");
  Click(d.DirectoryList, "/");
  EXPECT_EQ(d.Folder().toStdString(), "/");
  EXPECT_EQ(d.DirectoryList->item(0)->text(), "/");
  EXPECT_TRUE(d.DirectoryList->item(0)->isSelected());
  EXPECT_TRUE(d.DirectoryList->findItems("..", Qt::MatchExactly).isEmpty());

  // A double click opens the folder it is on only: its second click lands
  // on the list the first one made, where another folder stands.
  d.SetFolder(Path("plain"));
  ASSERT_EQ(listed(), (path + QStringList{"plain", "more", "songs"}));
  const QPoint at = d.DirectoryList->visualItemRect(d.DirectoryList->item(d.DirectoryList->count() - 1)).center();
  ulong time = 1u << 30;
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, d.DirectoryList->viewport()->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    e.setTimestamp(time += 50);
    QApplication::sendEvent(d.DirectoryList->viewport(), &e);
  }
  EXPECT_EQ(d.Folder().toStdString(), Path("plain/songs").toStdString());
}

TEST_F(LoadInstTest, PreviewShowsVersionDescriptionOrWrongFormat) {
  using namespace std::string_literals;
  Write("v29.kvi", "Kalvora Instrument File\0"s + char(29) + "\x02\x00"s + "first line\0second\0"s + "rest");
  Write("wrong.kvi", "Kalvora Preset File\0\x1e"s);
  Write("cut.kvi", "Kalvora Instrument File\0"s + char(30) + "\x05\x00"s + "only\0"s);
  TfLoadInst d;
  std::vector<std::filesystem::path> loaded;
  d.Load = [&](const std::filesystem::path& p) { loaded.push_back(p); };
  d.SetFolder(QString::fromStdString(dir_.string()));
  d.show();
  ASSERT_EQ(d.FileList->count(), 3);

  Select(d, "v29.kvi");
  EXPECT_EQ(d.lVersion->text(), "2.9");
  EXPECT_EQ(d.mDescription->toPlainText(), "first line\nsecond");
  EXPECT_TRUE(d.bLoad->isEnabled());
  EXPECT_TRUE(d.mDescription->isEnabled());
  EXPECT_TRUE(d.lSize->text().endsWith(" Bytes"));
  SaveScreenshot(&d, "smalldialogs_loadinst");
  EXPECT_TRUE(ClippedTexts(&d).isEmpty()) << ClippedTexts(&d).join("\n").toStdString();

  Select(d, "wrong.kvi");
  EXPECT_FALSE(d.bLoad->isEnabled());
  EXPECT_EQ(d.mDescription->toPlainText(), "              wrong file format\n              --------------------------");
  EXPECT_EQ(d.lVersion->text(), "");

  Select(d, "cut.kvi");  // a cut-off description shows what is there
  EXPECT_EQ(d.lVersion->text(), "3.0");
  EXPECT_EQ(d.mDescription->toPlainText(), "only");

  // A file that vanished before it was looked at.
  std::filesystem::remove(dir_ / "cut.kvi");
  d.ShowFileInfo();
  EXPECT_EQ(d.lSize->text(), "");
  EXPECT_EQ(d.lDate->text(), "");
  EXPECT_FALSE(d.bLoad->isEnabled());

  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  std::string topic;
  d.ShowHelp = [&](const std::string& t) { topic = t; };
  QApplication::sendEvent(&d, &f1);
  EXPECT_EQ(topic, "otherwindows_loadaninstrument");

  Select(d, "v29.kvi");
  QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(&d, &ret);
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].filename(), "v29.kvi");
  EXPECT_EQ(d.result(), 1);
}

// The description is Windows-1252; a file as large as the instrument reader
// takes is previewed, a larger one is not an instrument.
TEST_F(LoadInstTest, PreviewReadsWindows1252UpToTheReadersBound) {
  using namespace std::string_literals;
  const std::string head = "Kalvora Instrument File\0"s + char(30);
  Write("signs.kvi", head + "\x01\x00"s + "\x80 \x93zitiert\x94 \x96 caf\xE9\0"s);
  std::string lines;
  for (int i = 0; i < 20000; ++i) lines += std::string(99, 'x') + '\0';
  Write("large.kvi", head + "\x20\x4e"s + lines);  // 20000 lines, 2 MB
  Write("huge.kvi", head + "\x00\x00"s + std::string(kMaxInstrumentFileSize + 1 - head.size() - 2, '\0'));
  TfLoadInst d;
  d.SetFolder(QString::fromStdString(dir_.string()));
  d.show();

  Select(d, "signs.kvi");
  EXPECT_EQ(d.mDescription->toPlainText(), QString::fromUtf8("€ “zitiert” – café"));
  Select(d, "large.kvi");
  EXPECT_EQ(d.lVersion->text(), "3.0");
  EXPECT_TRUE(d.bLoad->isEnabled());
  EXPECT_EQ(d.mDescription->blockCount(), 20000);
  Select(d, "huge.kvi");
  EXPECT_FALSE(d.bLoad->isEnabled());
  EXPECT_TRUE(d.mDescription->toPlainText().contains("wrong file format"));
}

// Load opens the file the name field names and no other: typing a listed
// name selects it, any other name loads nothing, says so and keeps the
// dialog open.
TEST_F(LoadInstTest, LoadOpensOnlyTheFileTheNameFieldNames) {
  using namespace std::string_literals;
  for (const char* name : {"a.kvi", "b.kvi"}) Write(name, "Kalvora Instrument File\0"s + char(30) + "\x00\x00"s);
  Write("notes.txt", "not listed under Instruments");
  const std::string notListed = "\" in the file list; nothing was loaded.";
  struct Case {
    const char* selected;
    const char* typed;  // null: the field is left as the selection fills it
    const char* loads;  // empty: nothing
    std::string message;
  } cases[] = {
      {"a.kvi", "b.kvi", "b.kvi", ""},
      {"b.kvi", "a.kvi", "a.kvi", ""},
      {"b.kvi", nullptr, "b.kvi", ""},
      {"a.kvi", "nosuchfile.kvi", "", "There is no file \"nosuchfile.kvi" + notListed},
      {"a.kvi", "B.KVI", "", "There is no file \"B.KVI" + notListed},
      {"a.kvi", "b.kv", "", "There is no file \"b.kv" + notListed},
      {"a.kvi", "notes.txt", "", "There is no file \"notes.txt" + notListed},
      {"a.kvi", "", "", "No file is chosen; nothing was loaded."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.selected) + " selected, typed " + (c.typed ? c.typed : "nothing"));
    TfLoadInst d;
    std::vector<std::filesystem::path> loaded;
    std::vector<std::string> messages;
    d.Load = [&](const std::filesystem::path& p) { loaded.push_back(p); };
    d.ShowMessage = [&](const std::string& m) { messages.push_back(m); };
    d.SetFolder(QString::fromStdString(dir_.string()));
    d.show();
    EXPECT_EQ(d.eFileName->text(), "a.kvi");  // the first file is highlighted
    Select(d, c.selected);
    EXPECT_EQ(d.eFileName->text(), c.selected);
    if (c.typed) {
      d.eFileName->selectAll();
      QTest::keyClick(d.eFileName, Qt::Key_Backspace);
      QTest::keyClicks(d.eFileName, c.typed);
    }
    const bool loads = *c.loads != 0;
    EXPECT_EQ(d.FileList->currentItem() ? d.FileList->currentItem()->text().toStdString() : "", c.loads);
    EXPECT_EQ(d.bLoad->isEnabled(), loads);
    QTest::keyClick(d.eFileName, Qt::Key_Return);
    EXPECT_EQ(loaded, loads ? std::vector<std::filesystem::path>{dir_ / c.loads} : std::vector<std::filesystem::path>{});
    EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(d.isVisible(), !loads);
  }
}

TEST_F(LoadInstTest, DeletingTheLastFileLeavesTheInfoEmpty) {
  using namespace std::string_literals;
  Write("only.kvi", "Kalvora Instrument File\0"s + char(30) + "\x00\x00"s);
  TfLoadInst d;
  int asked = 0;
  d.Confirm = [&] { return ++asked == 2; };  // No first, then Yes
  d.SetFolder(QString::fromStdString(dir_.string()));
  d.show();
  d.bDelete->click();
  EXPECT_TRUE(std::filesystem::exists(dir_ / "only.kvi"));
  d.bDelete->click();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "only.kvi"));
  EXPECT_EQ(d.FileList->count(), 0);
  EXPECT_EQ(d.lVersion->text(), "");
  EXPECT_EQ(d.lSize->text(), "");
  EXPECT_FALSE(d.bLoad->isEnabled());
}

// A folder and a file whose names are not UTF-8 are listed, previewed and
// loaded by their bytes (Qt's own folder listing cannot reach them).
TEST_F(LoadInstTest, NamesThatAreNotUtf8AreListedAndLoadedAsTheirBytes) {
  using namespace std::string_literals;
  using kalvora::platform::ToQtPath;
  const std::filesystem::path folder = dir_ / "caf\xE9";
  std::filesystem::create_directory(folder);
  std::ofstream(folder / "b\xE9ss.kvi", std::ios::binary) << "Kalvora Instrument File\0"s + char(30) + "\x00\x00"s;
  TfLoadInst d;
  std::vector<std::filesystem::path> loaded;
  d.Load = [&](const std::filesystem::path& p) { loaded.push_back(p); };
  d.SetFolder(QString::fromStdString(dir_.string()));
  d.show();
  Click(d.DirectoryList, ToQtPath("caf\xE9"));
  ASSERT_EQ(d.FileList->count(), 1);
  EXPECT_EQ(d.lVersion->text(), "3.0");
  EXPECT_TRUE(d.bLoad->isEnabled());
  d.bLoadClick();
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0], folder / "b\xE9ss.kvi");
  // Qt's altered text of the folder is found again, and the entry of the
  // folder above leads back.
  d.SetFolder(ToQtPath(folder.string()));
  EXPECT_EQ(d.FileList->count(), 1);
  EXPECT_EQ(d.DirectoryList->currentItem()->text(), ToQtPath("caf\xE9"));
  Click(d.DirectoryList, QString::fromStdString(dir_.filename().string()));
  EXPECT_EQ(d.Folder(), QString::fromStdString(dir_.string()));
  // Back in it through its entry below the current folder.
  Click(d.DirectoryList, ToQtPath("caf\xE9"));
  EXPECT_EQ(d.SelectedPath(), (folder / "b\xE9ss.kvi").string());
}

}  // namespace

// Every field where a person types a name, a description or a path, with
// the texts people paste: what reaches the files, and what the field shows
// after a save, a restart and a load. Names and descriptions are kept as
// Windows-1252 bytes; paths and the converter's options as the system's
// bytes (UTF-8 here). No field lets a NUL through.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>
#include <QToolTip>

#include <algorithm>
#include <functional>

#include "Legibility.h"
#include "MainFixture.h"
#include "core/IniFile.h"
#include "formats/DescriptionFile.h"
#include "formats/InstrumentFile.h"
#include "formats/LibraryFiles.h"
#include "views/BoundedMemo.h"
#include "views/SingleLineField.h"
#include "views/Windows1252.h"
#include "windows/AddSynth.h"
#include "windows/EnvelopeEditors.h"
#include "windows/FreeEdit.h"
#include "windows/InGlob.h"
#include "windows/MacroRec.h"
#include "windows/ManagM.h"
#include "windows/Managers.h"
#include "windows/Options.h"
#include "windows/PresetWindows.h"
#include "windows/WaveGen.h"
#include "windows/dialogs/SmallDialogs.h"

namespace kalvora::test {
namespace {

// As a person pastes: the field's whole text replaced by the clipboard's.
void Paste(QLineEdit* e, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  e->selectAll();
  QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
}
void Paste(QPlainTextEdit* e, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  e->selectAll();
  e->paste();
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (std::size_t i = 0; i < lines.size(); ++i) s += (i ? "\n" : "") + lines[i];
  return s;
}

const QChar kNul(u'\0');

// The texts people paste, and what each kind of field keeps of them.
struct Input {
  const char* key;
  QString typed;
  std::string windows1252;  // the bytes of a name or a description
  QString windows1252Shown;
  std::string system;       // the bytes of a path or of the converter's options
};

const Input kInputs[] = {
    {"BeyondLatin1", QString::fromUtf8("€ „Œuvre“ – ‰"), "\x80 \x84\x8Cuvre\x93 \x96 \x89",
     QString::fromUtf8("€ „Œuvre“ – ‰"),
     "\xE2\x82\xAC \xE2\x80\x9E\xC5\x92uvre\xE2\x80\x9C \xE2\x80\x93 \xE2\x80\xB0"},
    {"OutsideWindows1252", QString::fromUtf8("Bass 画"), "Bass ?", QStringLiteral("Bass ?"), "Bass \xE7\x94\xBB"},
    {"BlanksAtBothEnds", QStringLiteral("  Pad  "), "  Pad  ", QStringLiteral("  Pad  "), "  Pad  "},
    {"LineBreak", QStringLiteral("Lead\nTwo"), "Lead\nTwo", QStringLiteral("Lead\nTwo"), "Lead\nTwo"},
    {"Nul", QStringLiteral("Bass") + kNul + QStringLiteral("one"), "Bassone", QStringLiteral("Bassone"), "Bassone"},
    {"NoBreakSpace", QString::fromUtf8("\u00A0Pad\u00A0one\u00A0"), "\xA0Pad\xA0one\xA0",
     QString::fromUtf8("\u00A0Pad\u00A0one\u00A0"), "\xC2\xA0Pad\xC2\xA0one\xC2\xA0"},
    // One '?' for each character, though each is two UTF-16 units.
    {"BeyondSixteenBits", QString::fromUtf8("Bass \U0001F3B9\U0001F600"), "Bass ??", QStringLiteral("Bass ??"),
     "Bass \xF0\x9F\x8E\xB9\xF0\x9F\x98\x80"},
    {"OverLong", {}, {}, {}, {}},  // the field's own bound and five more
    // One less than the bound of characters beyond 16 bits and two more:
    // the first of those fits, as each counts once.
    {"OverLongBeyondSixteenBits", {}, {}, {}, {}},
};
constexpr int kOverLong = 5;
const QString kKeyboard = QString::fromUtf8("\U0001F3B9");

class TextFields;

enum class Kept { Windows1252, System };
// Whether a line break may go in: a description holds lines; a name and a
// value of the settings file keep one line.
enum class Lines { Many, One, OneInSettingsFile };

struct Field {
  const char* key;
  Kept kept;
  int maxLength;  // the field's own bound, 0 where it has none (no over-long row)
  Lines lines;
  // Types the text into the field and keeps it as the window does (saving
  // the instrument where the field belongs to it).
  std::function<void(TextFields&, TfMain&, const QString&)> type;
  // The bytes in the files after the program has closed.
  std::function<std::string(TextFields&)> stored;
  // What the field shows after a restart (and a load of the instrument).
  std::function<QString(TextFields&, TfMain&)> shown;
};

// The fields' steps below reach the windows through this fixture.
class TextFields : public MainTest, public ::testing::WithParamInterface<std::tuple<int, int>> {
 public:
  using MainTest::Start;
  TKalvoraWindows& Windows() { return windows_; }
  std::filesystem::path Instrument() const { return dir_ / "texts.kvi"; }
  std::filesystem::path Data(const char* name) const { return dir_ / name; }

  TStagedInstrument SavedInstrument() const { return *ReadInstrumentFile(Instrument()); }
  std::vector<TMacro> SavedMacros() const {
    std::vector<TMacro> m;
    LoadMacros(Data("kalvora.dam"), m);
    return m;
  }
  // Entry n of a saved library, the last one for 0.
  TWavePreset SavedPreset(int n = 0) const {
    TWavePresetTable t;
    LoadWavePresets(Data("kalvora.dap"), t);
    return t[n ? n : t.Count()];
  }
  TVolumeEnvelope SavedEnvelope(int n = 0) const {
    TVolumeEnvelopeTable t;
    LoadVolumeEnvelopes(Data("kalvora.dav"), t);
    return t[n ? n : t.Count()];
  }
  std::string Setting(const char* section, const char* key) const {
    return TIniFile(Data("kalvora.dai").string()).ReadString(section, key, "(missing)");
  }

  // The options dialog, run from the main window: `fn` works in it, then
  // OK (or Cancel when only looking) closes it.
  void InOptions(TfMain& main, std::function<void(TfOptions&)> fn, bool ok) {
    WhenShown<TfOptions>([fn, ok](TfOptions& o) {
      fn(o);
      (ok ? o.bOK : o.bCancel)->click();
    });
    main.RunOptions();
  }
  // The text of a field on page `page` of the options dialog.
  QString OptionsText(TfMain& main, int page, std::function<QString(TfOptions&)> read) {
    QString text;
    InOptions(main, [&](TfOptions& o) {
      o.pcOptions->setCurrentIndex(page);
      text = read(o);
      QApplication::processEvents();
      Picture(&o);
    }, false);
    return text;
  }
  void PasteImage(TfMain& main, int element, const QString& text) {
    InOptions(main, [&](TfOptions& o) {
      o.cbElement->setCurrentIndex(element);
      if (o.cbDefaultDesign->isChecked()) o.cbDefaultDesign->click();
      o.rbImage->click();
      Paste(o.eImage, text);
    }, true);
  }

  // A recording of one step under the name and description typed.
  void Record(TfMain& main, std::function<void(TfMacroRec&)> fill) {
    WhenShown<TfMacroRec>([fill](TfMacroRec& d) {
      fill(d);
      d.bOK->click();
    });
    main.StartRecordingCommand();
    main.MacroRec()->RecordIntStep(kStepVolume, 50);
    main.StopRecordingCommand();
  }
  // The macro manager on macro n, as it shows it.
  template <class R>
  R InMacroManager(TfMain& main, int n, std::function<R(TfManagM&)> read) {
    TfManagM m(&main);
    m.FillMacroList(n);
    m.ShowMacroSteps();
    Picture(&m);
    return read(m);
  }
  // The manager run from the main window: `fn` works on the first macro.
  void EditFirstMacro(TfMain& main, std::function<void(TfManagM&)> fn) {
    WhenShown<TfManagM>([fn](TfManagM& m) {
      m.FillMacroList(1);
      m.ShowMacroSteps();
      fn(m);
      m.bOK->click();
    });
    main.MacroManagerCommand();
  }

  // A picture of the window that shows the text, for one row of each field.
  void Picture(QWidget* w) {
    if (!picture_.isEmpty()) {
      EXPECT_TRUE(SaveScreenshot(w, picture_));
    }
  }

  std::string dialogBytes_;  // what a new-name dialog gave
  QString picture_;
};

QString Unquoted(const QString& s) { return s.mid(1, s.size() - 2); }

// The converter's program or options on the options dialog's first page;
// `key` is also the settings key.
Field AutoConvertField(const char* key, QLineEdit* TfOptions::*edit) {
  return {key, Kept::System, 0, Lines::OneInSettingsFile,
          [edit](TextFields& t, TfMain& main, const QString& text) {
            t.InOptions(main, [&](TfOptions& o) {
              o.cbAutoConvert->click();
              Paste(o.*edit, text);
            }, true);
          },
          [key](TextFields& t) { return t.Setting("Options", key); },
          [edit](TextFields& t, TfMain& main) {
            return t.OptionsText(main, 0, [edit](TfOptions& o) { return (o.*edit)->text(); });
          }};
}

// The picture of one of the two backgrounds (0 main, 1 border).
Field BackgroundImageField(const char* key, int element, const char* section) {
  return {key, Kept::System, 0, Lines::OneInSettingsFile,
          [element](TextFields& t, TfMain& main, const QString& text) { t.PasteImage(main, element, text); },
          [section](TextFields& t) { return t.Setting(section, "Image"); },
          [element](TextFields& t, TfMain& main) {
            return t.OptionsText(main, 1, [element](TfOptions& o) {
              o.cbElement->setCurrentIndex(element);
              return o.eImage->text();
            });
          }};
}

// A preset editor's name: Add keeps it as a new last entry.
template <class Editor>
Field PresetEditorField(const char* key) {
  return {key, Kept::Windows1252, static_cast<int>(TWavePreset::kMaxName), Lines::One,
          [](TextFields&, TfMain& main, const QString& text) {
            Editor w(PresetWindowHost(main));
            w.FormActivate();
            Paste(w.eName, text);
            w.bAddClick();
          },
          [](TextFields& t) { return t.SavedPreset().Name; },
          [](TextFields& t, TfMain& main) {
            Editor w(PresetWindowHost(main));
            w.FormActivate();
            w.cbD->setCurrentIndex(w.cbD->count() - 1);
            w.cbDChange();
            t.Picture(&w);
            return w.eName->text();
          }};
}

// An envelope editor's name: Add keeps it as a new last entry.
template <class Editor>
Field EnvelopeEditorField(const char* key) {
  return {key, Kept::Windows1252, static_cast<int>(TVolumeEnvelope::kMaxName), Lines::One,
          [](TextFields&, TfMain& main, const QString& text) {
            Editor d(main, 0);
            d.FormActivate();
            Paste(d.eName, text);
            d.bAddClick();
          },
          [](TextFields& t) { return t.SavedEnvelope().Name; },
          [](TextFields& t, TfMain& main) {
            Editor d(main, -1);  // the last entry
            d.FormActivate();
            t.Picture(&d);
            return d.eName->text();
          }};
}

// A library manager's Rename of its first entry.
template <class Manager, class Dialog>
Field ManagerNewNameField(const char* key, std::size_t maxLength, std::function<std::string(TextFields&)> stored) {
  return {key, Kept::Windows1252, static_cast<int>(maxLength), Lines::One,
          [](TextFields&, TfMain& main, const QString& text) {
            Manager w(main);
            w.FillList(1);
            WhenShown<Dialog>([&](Dialog& d) {
              Paste(d.eNewName, text);
              d.bOK->click();
            });
            w.bRenameClick();
          },
          std::move(stored),
          [](TextFields& t, TfMain& main) {
            Manager w(main);
            w.FillList(1);
            t.Picture(&w);
            return w.list->item(0)->text();
          }};
}

// The instrument load's new-name dialog: the name it gives, and the clashing
// name it shows between double quotes.
template <class Dialog>
Field NewNameDialogField(const char* key, std::size_t maxLength) {
  return {key, Kept::Windows1252, static_cast<int>(maxLength), Lines::One,
          [](TextFields& t, TfMain&, const QString& text) {
            Dialog d;
            Paste(d.eNewName, text);
            t.dialogBytes_ = d.NewName();
          },
          [](TextFields& t) { return t.dialogBytes_; },
          [](TextFields& t, TfMain&) {
            Dialog d;
            d.SetClashingName(t.dialogBytes_);
            t.Picture(&d);
            return Unquoted(d.lName->text());
          }};
}

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = {
      {"InstrumentDescription", Kept::Windows1252, static_cast<int>(TInGlobSettings::kMaxDescription), Lines::Many,
       [](TextFields& t, TfMain& main, const QString& text) {
         Paste(t.Windows().InGlob->memoDescription, text);
         ASSERT_TRUE(main.SaveInstrumentFile(t.Instrument()));
       },
       [](TextFields& t) { return Joined(t.SavedInstrument().Description); },
       [](TextFields& t, TfMain& main) {
         main.SetInstrumentUpToDate(true);
         EXPECT_TRUE(main.LoadInstrumentFile(t.Instrument()));
         t.Picture(t.Windows().InGlob);
         return t.Windows().InGlob->memoDescription->Text();
       }},
      {"VoiceName", Kept::Windows1252, static_cast<int>(TVoice::kMaxName), Lines::One,
       [](TextFields& t, TfMain& main, const QString& text) {
         Paste(t.Windows().WaveGen->ePartName, text);
         ASSERT_TRUE(main.SaveInstrumentFile(t.Instrument()));
       },
       [](TextFields& t) { return t.SavedInstrument().Voices[0].Voice.Name; },
       [](TextFields& t, TfMain& main) {
         main.SetInstrumentUpToDate(true);
         EXPECT_TRUE(main.LoadInstrumentFile(t.Instrument()));
         t.Picture(t.Windows().WaveGen);
         return t.Windows().WaveGen->ePartName->text();
       }},
      {"DefaultDescription", Kept::Windows1252, static_cast<int>(TInGlobSettings::kMaxDescription), Lines::Many,
       [](TextFields& t, TfMain& main, const QString& text) {
         t.InOptions(main, [&](TfOptions& o) { Paste(o.memoDescription, text); }, true);
       },
       [](TextFields& t) { return Joined(ReadDescriptionFile(t.Data("kalvora.dad"))); },
       [](TextFields& t, TfMain& main) {
         return t.OptionsText(main, 2, [](TfOptions& o) { return o.memoDescription->Text(); });
       }},
      {"DefaultVoiceName", Kept::Windows1252, static_cast<int>(TVoice::kMaxName), Lines::OneInSettingsFile,
       [](TextFields& t, TfMain& main, const QString& text) {
         t.InOptions(main, [&](TfOptions& o) {
           o.pcOptions->setCurrentIndex(2);
           o.sgVoiceNames->setCurrentCell(4, 1);
           o.sgVoiceNames->editItem(o.sgVoiceNames->item(4, 1));
           auto* editor = o.sgVoiceNames->viewport()->findChild<QLineEdit*>();
           ASSERT_NE(editor, nullptr);
           Paste(editor, text);
           o.sgVoiceNames->setCurrentCell(5, 1);  // leaving the cell keeps what the editor holds
         }, true);
       },
       [](TextFields& t) { return t.Setting("Default Voice Names", "#05"); },
       [](TextFields& t, TfMain& main) {
         return t.OptionsText(main, 2, [](TfOptions& o) { return o.sgVoiceNames->item(4, 1)->text(); });
       }},
      AutoConvertField("AutoConvertProgram", &TfOptions::eAutoConvertProgram),
      AutoConvertField("AutoConvertOptions", &TfOptions::eAutoConvertOptions),
      BackgroundImageField("MainBackgroundImage", 0, "Background Main"),
      BackgroundImageField("BorderBackgroundImage", 1, "Background Border"),
      {"MacroName", Kept::Windows1252, static_cast<int>(TMacro::kMaxName), Lines::One,
       [](TextFields& t, TfMain& main, const QString& text) {
         t.Record(main, [&](TfMacroRec& d) { Paste(d.eName, text); });
       },
       [](TextFields& t) { return t.SavedMacros().back().Name; },
       [](TextFields& t, TfMain& main) {
         return t.InMacroManager<QString>(main, 3, [](TfManagM& m) { return m.lbMacros->item(2)->text(); });
       }},
      {"MacroDescription", Kept::Windows1252, static_cast<int>(TMacro::kMaxDescription), Lines::Many,
       [](TextFields& t, TfMain& main, const QString& text) {
         t.Record(main, [&](TfMacroRec& d) {
           d.eName->setText("Texts");
           Paste(d.memoDescription, text);
         });
       },
       [](TextFields& t) { return t.SavedMacros().back().Description; },
       [](TextFields& t, TfMain& main) {
         return t.InMacroManager<QString>(main, 3, [](TfManagM& m) { return m.memoDescription->Text(); });
       }},
      {"MacroManagerDescription", Kept::Windows1252, static_cast<int>(TMacro::kMaxDescription), Lines::Many,
       [](TextFields& t, TfMain& main, const QString& text) {
         t.EditFirstMacro(main, [&](TfManagM& m) { Paste(m.memoDescription, text); });
       },
       [](TextFields& t) { return t.SavedMacros().front().Description; },
       [](TextFields& t, TfMain& main) {
         return t.InMacroManager<QString>(main, 1, [](TfManagM& m) { return m.memoDescription->Text(); });
       }},
      {"MacroNewName", Kept::Windows1252, static_cast<int>(TMacro::kMaxName), Lines::One,
       [](TextFields& t, TfMain& main, const QString& text) {
         t.EditFirstMacro(main, [&](TfManagM& m) {
           WhenShown<TfRenMacro>([&](TfRenMacro& d) {
             Paste(d.eNewName, text);
             d.bOK->click();
           });
           m.RenameMacro();
         });
       },
       [](TextFields& t) { return t.SavedMacros().front().Name; },
       [](TextFields& t, TfMain& main) {
         return t.InMacroManager<QString>(main, 1, [](TfManagM& m) { return m.lbMacros->item(0)->text(); });
       }},
      PresetEditorField<TfFreeEdit>("WavePresetName"),
      PresetEditorField<TfAddSynth>("SynthesisPresetName"),
      EnvelopeEditorField<TfEditVol>("EnvelopeName"),
      EnvelopeEditorField<TfADSR>("AdsrEnvelopeName"),
      ManagerNewNameField<TfManagW, TfRenWPreset>("WavePresetNewName", TWavePreset::kMaxName,
                                                  [](TextFields& t) { return t.SavedPreset(1).Name; }),
      ManagerNewNameField<TfManagV, TfRenEnvelope>("EnvelopeNewName", TVolumeEnvelope::kMaxName,
                                                   [](TextFields& t) { return t.SavedEnvelope(1).Name; }),
      NewNameDialogField<TfNewPresetName>("NewPresetNameDialog", TWavePreset::kMaxName),
      NewNameDialogField<TfNewEnvelopeName>("NewEnvelopeNameDialog", TVolumeEnvelope::kMaxName),
  };
  return fields;
}

TEST_P(TextFields, AreStoredAndShownAsTyped) {
  const Field& field = Fields()[static_cast<std::size_t>(std::get<0>(GetParam()))];
  Input in = kInputs[std::get<1>(GetParam())];
  if (std::string(in.key) == "OverLong") {
    if (field.maxLength == 0) GTEST_SKIP() << "the field has no bound of its own";
    in.typed = QString(field.maxLength + kOverLong, QLatin1Char('x'));
    in.windows1252 = in.system = std::string(static_cast<std::size_t>(field.maxLength), 'x');
    in.windows1252Shown = QString(field.maxLength, QLatin1Char('x'));
  }
  if (std::string(in.key) == "OverLongBeyondSixteenBits") {
    if (field.maxLength == 0) GTEST_SKIP() << "the field has no bound of its own";
    in.typed = kKeyboard.repeated(field.maxLength - 1) + QStringLiteral("ab");
    in.windows1252 = std::string(static_cast<std::size_t>(field.maxLength - 1), '?') + "a";
    in.windows1252Shown = FromWindows1252(in.windows1252);
  }
  // A name refuses a line break whole; NameFields shows the field keeping
  // what it had, which here would leave a dialog waiting for a new name.
  if (field.lines == Lines::One && std::string(in.key) == "LineBreak") GTEST_SKIP() << "refused: see NameFields";
  // The settings file keeps a value on one line: its fields refuse a line
  // break whole, and the value stays what it was before.
  if (field.lines == Lines::OneInSettingsFile && std::string(in.key) == "LineBreak") {
    {
      TfMain& main = Start();
      main.SetInstrumentUpToDate(true);
      ASSERT_TRUE(main.close());
    }
    in.windows1252 = in.system = field.stored(*this);
    in.windows1252Shown = FromWindows1252(in.windows1252);
  }
  const bool asSystem = field.kept == Kept::System;
  const std::string bytes = asSystem ? in.system : in.windows1252;
  const QString shown = asSystem ? QString::fromUtf8(in.system) : in.windows1252Shown;

  {
    TfMain& main = Start();
    field.type(*this, main, in.typed);
    main.SetInstrumentUpToDate(true);
    ASSERT_TRUE(main.close());
  }
  EXPECT_EQ(field.stored(*this), bytes);
  TfMain& main = Start();
  if (std::string(in.key) == "BeyondLatin1") picture_ = QStringLiteral("texts_") + field.key;
  EXPECT_EQ(field.shown(*this, main), shown);
  main.SetInstrumentUpToDate(true);
}

std::string RowName(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
  return std::string(Fields()[static_cast<std::size_t>(std::get<0>(info.param))].key) + "_" +
         kInputs[std::get<1>(info.param)].key;
}

INSTANTIATE_TEST_SUITE_P(EveryField, TextFields,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(Fields().size())),
                                            ::testing::Range(0, static_cast<int>(std::size(kInputs)))),
                         RowName);

// A description read from a file (or pasted) with no-break spaces, then one
// line break (Shift+Return) and one letter typed at its end: only those
// change, whatever the box.
struct EditedBox {
  const char* key;
  // Puts the description into the files before the program starts.
  std::function<void(TextFields&, const std::string&)> seed;
  // Types `keys` at the end of the box and keeps the change.
  std::function<void(TextFields&, TfMain&, const std::function<void(TBoundedMemo*)>&)> edit;
  std::function<std::string(TextFields&)> stored;
};

const std::string kSeeded = "\xA0Pad\xA0one\nsecond\xA0line\xA0";

const EditedBox kEditedBoxes[] = {
    {"InstrumentDescription",
     [](TextFields& t, const std::string& text) {
       TfMain& main = t.Start();
       t.Windows().InGlob->Settings().Description = {"\xA0Pad\xA0one", "second\xA0line\xA0"};
       ASSERT_TRUE(main.SaveInstrumentFile(t.Instrument()));
       main.SetInstrumentUpToDate(true);
       ASSERT_TRUE(main.close());
       ASSERT_EQ(Joined(t.SavedInstrument().Description), text);
     },
     [](TextFields& t, TfMain& main, const std::function<void(TBoundedMemo*)>& keys) {
       main.SetInstrumentUpToDate(true);
       ASSERT_TRUE(main.LoadInstrumentFile(t.Instrument()));
       keys(t.Windows().InGlob->memoDescription);
       t.Picture(t.Windows().InGlob);
       ASSERT_TRUE(main.SaveInstrumentFile(t.Instrument()));
     },
     [](TextFields& t) { return Joined(t.SavedInstrument().Description); }},
    {"DefaultDescription",
     [](TextFields& t, const std::string&) {
       WriteDescriptionFile(t.Data("kalvora.dad"), {"\xA0Pad\xA0one", "second\xA0line\xA0"});
     },
     [](TextFields& t, TfMain& main, const std::function<void(TBoundedMemo*)>& keys) {
       t.InOptions(main, [&](TfOptions& o) {
         o.pcOptions->setCurrentIndex(2);
         keys(o.memoDescription);
         t.Picture(&o);
       }, true);
     },
     [](TextFields& t) { return Joined(ReadDescriptionFile(t.Data("kalvora.dad"))); }},
    {"MacroDescription", [](TextFields&, const std::string&) {},
     [](TextFields& t, TfMain& main, const std::function<void(TBoundedMemo*)>& keys) {
       t.Record(main, [&](TfMacroRec& d) {
         d.eName->setText("Texts");
         Paste(d.memoDescription, FromWindows1252(kSeeded));
         keys(d.memoDescription);
         t.Picture(&d);
       });
     },
     [](TextFields& t) { return t.SavedMacros().back().Description; }},
    {"MacroManagerDescription",
     [](TextFields& t, const std::string& text) {
       std::vector<TMacro> macros = t.SavedMacros();
       macros.front().Description = text;
       SaveMacros(t.Data("kalvora.dam"), macros);
     },
     [](TextFields& t, TfMain& main, const std::function<void(TBoundedMemo*)>& keys) {
       t.EditFirstMacro(main, [&](TfManagM& m) {
         keys(m.memoDescription);
         t.Picture(&m);
       });
     },
     [](TextFields& t) { return t.SavedMacros().front().Description; }},
};

class EditedDescriptions : public TextFields {};

TEST_P(EditedDescriptions, KeepTheirNoBreakSpaces) {
  const EditedBox& box = kEditedBoxes[std::get<0>(GetParam())];
  box.seed(*this, kSeeded);
  if (HasFatalFailure()) return;
  picture_ = QStringLiteral("texts_edited_") + box.key;
  {
    TfMain& main = Start();
    box.edit(*this, main, [](TBoundedMemo* memo) {
      QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
      QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);  // a line separator, not a new paragraph
      QTest::keyClick(memo, Qt::Key_X);
    });
    main.SetInstrumentUpToDate(true);
    ASSERT_TRUE(main.close());
  }
  EXPECT_EQ(box.stored(*this), kSeeded + "\nx");
}

INSTANTIATE_TEST_SUITE_P(EveryBox, EditedDescriptions,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(kEditedBoxes))),
                                            ::testing::Values(0)),
                         [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
                           return std::string(kEditedBoxes[std::get<0>(info.param)].key);
                         });

// The two kinds of bounded field, each holding at most five characters:
// a paste at the caret keeps what fits, a character beyond 16 bits counts
// once and is never cut in half.
struct BoundCase {
  const char* key;
  QString before;
  int caret;
  QString pasted;
  QString after;
};

const QString kSmile = QString::fromUtf8("\U0001F600");

const BoundCase kBoundCases[] = {
    {"FillsTheRoomLeft", "abc", 3, kSmile + kSmile + kSmile, "abc" + kSmile + kSmile},
    {"OneCharacterOfRoom", "abcd", 4, kSmile, "abcd" + kSmile},
    {"WholeFieldOfThem", "", 0, kSmile.repeated(6), kSmile.repeated(5)},
    {"NeverHalfOfOne", "abc", 3, "x" + kSmile + "y", "abcx" + kSmile},
    {"NoRoomForTheSecondUnit", "abcd", 4, "x" + kSmile, "abcdx"},
    {"CutWhereThePasteEnds", "abcd", 2, kSmile + kSmile, "ab" + kSmile + "cd"},
    {"NoRoomAtAll", "abcde", 5, kSmile, "abcde"},
    {"ThoseThereCountOnce", kSmile.repeated(3), 6, "abc", kSmile.repeated(3) + "ab"},  // the caret in UTF-16 units
};

class Bounds : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(Bounds, CountCharactersAsTheFilesKeepThem) {
  const BoundCase& c = kBoundCases[std::get<0>(GetParam())];
  QGuiApplication::clipboard()->setText(c.pasted);
  if (std::get<1>(GetParam())) {
    TBoundedMemo memo(5);
    memo.setPlainText(c.before);
    QTextCursor cursor = memo.textCursor();
    cursor.setPosition(c.caret);
    memo.setTextCursor(cursor);
    memo.paste();
    EXPECT_EQ(memo.Text(), c.after);
    QTest::keyClick(&memo, Qt::Key_Z);  // typing stops at the bound too
    if (CharacterCount(c.after) == 5) {
      EXPECT_EQ(memo.Text(), c.after);
    }
  } else {
    QLineEdit edit;
    BoundCharacters(&edit, 5);
    edit.setText(c.before);
    edit.setCursorPosition(c.caret);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), c.after);
    QTest::keyClick(&edit, Qt::Key_Z);
    if (CharacterCount(c.after) == 5) {
      EXPECT_EQ(edit.text(), c.after);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(MemoAndLine, Bounds,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(kBoundCases))),
                                            ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<int, bool>>& info) {
                           return std::string(kBoundCases[std::get<0>(info.param)].key) +
                                  (std::get<1>(info.param) ? "_Memo" : "_Line");
                         });

// A name field holds what it shows and signals only what changed it: a key
// refused at the bound, or a text with a line break, leaves the text, the
// undo steps, the instrument's state and a recording as they were. Each
// edit follows "xy" typed at the end of a text set by the program.
struct NameEdit {
  const char* key;
  int room;  // characters left before the edit
  std::function<void(QLineEdit*)> edit;
  QString added;    // what the edit adds at the end; nothing when refused
  bool alone;       // Ctrl+Z takes back the edit alone, not the typing too
  bool lineBreak;   // refused for its line break, and the field says why
};

void CtrlV(QLineEdit* e, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
}
std::function<void(QLineEdit*)> PasteOf(const QString& text) {
  return [text](QLineEdit* e) { CtrlV(e, text); };
}

const NameEdit kNameEdits[] = {
    {"KeyAtTheBound", 0, [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_Z); }, {}, false, false},
    {"KeyOneBelow", 1, [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_Z); }, "z", false, false},
    {"PasteAtTheBound", 0, PasteOf("p"), {}, false, false},
    {"PasteOneBelow", 1, PasteOf("pqr"), "p", true, false},
    {"EmojiPasteOneBelow", 1, PasteOf(QString::fromUtf8("\U0001F600\U0001F3B9")), QString::fromUtf8("\U0001F600"),
     true, false},
    {"LineFeed", 5, PasteOf("ab\ncd"), {}, false, true},
    {"CarriageReturn", 5, PasteOf("ab\rcd"), {}, false, true},
    {"CrLfAtTheEnd", 5, PasteOf("ab\r\n"), {}, false, true},
    {"ParagraphSeparator", 5, PasteOf(QString::fromUtf8("ab\u2029cd")), {}, false, true},
    {"LineSeparator", 5, PasteOf(QString::fromUtf8("ab\u2028cd")), {}, false, true},
    {"VerticalTab", 5, PasteOf("ab\vcd"), {}, false, true},
    {"LineBreakPastTheBound", 1, PasteOf("p\nq"), {}, false, true},
};

class NameFields : public MainTest, public ::testing::WithParamInterface<std::tuple<int, int>> {
 public:
  TKalvoraWindows& Windows() { return windows_; }
  kalvora::platform::MidiInput* Midi() { return &midi_; }
  // Windows opened for a field, closed before the program.
  std::vector<std::unique_ptr<QWidget>> opened_;

 protected:
  void TearDown() override {
    while (!opened_.empty()) opened_.pop_back();
    MainTest::TearDown();
  }
};

struct NameField {
  const char* key;
  std::size_t maxLength;
  bool ofInstrument;  // a change marks the instrument changed and is recorded
  // Shows a character without a Windows-1252 code as the '?' it keeps
  // (the program then sets the text anew).
  bool showsKept;
  std::function<QLineEdit*(NameFields&, TfMain&)> open;
};

template <class W>
W& Opened(NameFields& t, std::unique_ptr<W> w) {
  W& kept = *w;
  t.opened_.push_back(std::move(w));
  return kept;
}

template <class Editor>
NameField PresetEditorName(const char* key) {
  return {key, TWavePreset::kMaxName, false, false, [](NameFields& t, TfMain& main) {
            auto& w = Opened(t, std::make_unique<Editor>(PresetWindowHost(main)));
            w.FormActivate();
            return w.eName;
          }};
}
template <class Editor>
NameField EnvelopeEditorName(const char* key) {
  return {key, TVolumeEnvelope::kMaxName, false, false, [](NameFields& t, TfMain& main) {
            auto& d = Opened(t, std::make_unique<Editor>(main, 0));
            d.FormActivate();
            return d.eName;
          }};
}
template <class Dialog>
NameField RenameDialogName(const char* key, TLibraryKind kind, std::size_t maxLength) {
  return {key, maxLength, false, false, [kind](NameFields& t, TfMain& main) {
            auto& w = Opened(t, std::make_unique<TLibraryManagerWindow>(main, kind, nullptr));
            return (new Dialog(w.Manager, "Sawtooth", &w))->eNewName;
          }};
}
template <class Dialog>
NameField NewNameDialogName(const char* key, std::size_t maxLength) {
  return {key, maxLength, false, false,
          [](NameFields& t, TfMain&) { return Opened(t, std::make_unique<Dialog>()).eNewName; }};
}

const std::vector<NameField>& NameFieldList() {
  static const std::vector<NameField> fields = {
      {"VoiceName", TVoice::kMaxName, true, true,
       [](NameFields& t, TfMain&) { return t.Windows().WaveGen->ePartName; }},
      PresetEditorName<TfFreeEdit>("WavePresetName"),
      PresetEditorName<TfAddSynth>("SynthesisPresetName"),
      EnvelopeEditorName<TfEditVol>("EnvelopeName"),
      EnvelopeEditorName<TfADSR>("AdsrEnvelopeName"),
      {"MacroName", TMacro::kMaxName, false, false,
       [](NameFields& t, TfMain&) { return t.Windows().MacroRec->eName; }},
      {"MacroNewName", TMacro::kMaxName, false, false,
       [](NameFields& t, TfMain& main) {
         return Opened(t, std::make_unique<TfRenMacro>(main.Document(), "Octave up", nullptr)).eNewName;
       }},
      RenameDialogName<TfRenWPreset>("WavePresetNewName", TLibraryKind::WavePresets, TWavePreset::kMaxName),
      RenameDialogName<TfRenEnvelope>("EnvelopeNewName", TLibraryKind::VolumeEnvelopes,
                                      TVolumeEnvelope::kMaxName),
      NewNameDialogName<TfNewPresetName>("NewPresetNameDialog", TWavePreset::kMaxName),
      NewNameDialogName<TfNewEnvelopeName>("NewEnvelopeNameDialog", TVolumeEnvelope::kMaxName),
      {"DefaultVoiceName", TVoice::kMaxName, false, false,
       [](NameFields& t, TfMain& main) {
         auto& o = Opened(t, std::make_unique<TfOptions>(&main, nullptr, t.Midi()));
         o.pcOptions->setCurrentIndex(2);
         o.show();
         o.sgVoiceNames->setCurrentCell(4, 1);
         o.sgVoiceNames->editItem(o.sgVoiceNames->item(4, 1));
         return o.sgVoiceNames->viewport()->findChild<QLineEdit*>();
       }},
  };
  return fields;
}

TEST_P(NameFields, KeepWhatTheyShowAndSignalOnlyChanges) {
  const NameField& field = NameFieldList()[static_cast<std::size_t>(std::get<0>(GetParam()))];
  const NameEdit& c = kNameEdits[std::get<1>(GetParam())];
  if (field.showsKept && std::any_of(c.added.begin(), c.added.end(), [](QChar ch) { return ch.isSurrogate(); }))
    GTEST_SKIP() << "the field shows the '?' it keeps";
  TfMain& main = Start();
  QLineEdit* e = field.open(*this, main);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(CharacterBound(e), static_cast<int>(field.maxLength));

  const QString before(static_cast<int>(field.maxLength) - c.room - 2, QLatin1Char('a'));
  e->setText(before);
  e->setCursorPosition(static_cast<int>(before.size()));
  QTest::keyClicks(e, "xy");
  ASSERT_EQ(e->text(), before + "xy");
  const std::string name = main.Document().Voice(1).Name;
  main.SetInstrumentUpToDate(true);
  TMacroRecorder& recorder = Windows().MacroRec->Recorder();
  TMacro pending;
  pending.Name = "Names";
  ASSERT_EQ(recorder.Start(pending), TStartRecording::Started);
  // A tip of its own, which only a refusal replaces.
  QToolTip::showText(e->mapToGlobal(QPoint()), QStringLiteral("before"), e);

  int changed = 0, edited = 0;
  QObject::connect(e, &QLineEdit::textChanged, e, [&] { ++changed; });
  QObject::connect(e, &QLineEdit::textEdited, e, [&] { ++edited; });
  c.edit(e);
  const bool changes = !c.added.isEmpty();
  EXPECT_EQ(e->text(), before + "xy" + c.added);
  EXPECT_EQ(changed, changes ? 1 : 0);
  EXPECT_EQ(edited, changes ? 1 : 0);
  EXPECT_EQ(QToolTip::text(), c.lineBreak ? TSingleLineValidator::RefusalText() : QStringLiteral("before"));
  EXPECT_EQ(main.IsInstrumentUpToDate(), !(changes && field.ofInstrument));
  EXPECT_EQ(recorder.Lines().size(), changes && field.ofInstrument ? 1u : 0u);
  if (!changes) {
    EXPECT_EQ(main.Document().Voice(1).Name, name);
  }

  QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(e->text(), changes && c.alone ? before + "xy" : before);
}

INSTANTIATE_TEST_SUITE_P(EveryNameField, NameFields,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(NameFieldList().size())),
                                            ::testing::Range(0, static_cast<int>(std::size(kNameEdits)))),
                         [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
                           return std::string(NameFieldList()[static_cast<std::size_t>(std::get<0>(info.param))].key) +
                                  "_" + kNameEdits[std::get<1>(info.param)].key;
                         });

// Every way a person brings text into a bounded line edit (of five
// characters), with "xy" typed last: what fits goes in as one change, and
// nothing at all when nothing fits.
struct BoundRoute {
  const char* key;
  std::function<void(QLineEdit*, const QString&)> bring;
  bool alone;  // Ctrl+Z takes back the text alone, not the typing before it
};

const BoundRoute kBoundRoutes[] = {
    {"CtrlV", [](QLineEdit* e, const QString& text) { CtrlV(e, text); }, true},
    {"ShiftInsert",
     [](QLineEdit* e, const QString& text) {
       QGuiApplication::clipboard()->setText(text);
       QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
     },
     true},
    {"MenuPaste",
     [](QLineEdit* e, const QString& text) {
       QGuiApplication::clipboard()->setText(text);
       QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(1, 1), e->mapToGlobal(QPoint(1, 1)));
       QApplication::sendEvent(e, &menuEvent);
       auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
       ASSERT_NE(menu, nullptr);
       QAction* paste = nullptr;
       for (QAction* a : menu->actions())
         if (a->text().startsWith(QLatin1String("&Paste"))) paste = a;
       ASSERT_NE(paste, nullptr);
       paste->trigger();
       menu->close();
     },
     true},
    {"Drop",
     [](QLineEdit* e, const QString& text) {
       QMimeData data;
       data.setText(text);
       const QPoint at(e->width() - 2, e->height() / 2);
       const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
       QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
       QApplication::sendEvent(e, &enter);
       QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
       QApplication::sendEvent(e, &drop);
       // What was cut off stays where it came from.
       EXPECT_TRUE(!drop.isAccepted() || drop.dropAction() == Qt::CopyAction);
     },
     true},
    // The middle button puts the system's selection at the caret; only a
    // display with a selection (X11) has it.
    {"MiddleClick",
     [](QLineEdit* e, const QString& text) {
       QGuiApplication::clipboard()->setText(text, QClipboard::Selection);
       QTest::mouseClick(e, Qt::MiddleButton, Qt::NoModifier, QPoint(e->width() - 2, e->height() / 2));
     },
     true},
    // An input method's text joins the typing, as QLineEdit keeps it.
    {"InputMethod",
     [](QLineEdit* e, const QString& text) {
       QInputMethodEvent im;
       im.setCommitString(text);
       QApplication::sendEvent(e, &im);
     },
     false},
};

class BoundRoutes : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(BoundRoutes, TakeWhatFitsAsOneChange) {
  const BoundRoute& route = kBoundRoutes[std::get<0>(GetParam())];
  if (std::string(route.key) == "MiddleClick" && !QGuiApplication::clipboard()->supportsSelection())
    GTEST_SKIP() << "no selection on this display: see texts_test_x11";
  const bool full = std::get<1>(GetParam());
  const QString before = full ? "abc" : "a";
  QLineEdit e;
  BoundCharacters(&e, 5);
  e.resize(300, e.sizeHint().height());
  e.show();
  e.setText(before);
  e.setCursorPosition(static_cast<int>(before.size()));
  QTest::keyClicks(&e, "xy");
  int changed = 0, edited = 0;
  QObject::connect(&e, &QLineEdit::textChanged, &e, [&] { ++changed; });
  QObject::connect(&e, &QLineEdit::textEdited, &e, [&] { ++edited; });

  route.bring(&e, kSmile + "pq");
  const QString added = full ? QString() : kSmile + "p";
  EXPECT_EQ(e.text(), before + "xy" + added);
  EXPECT_EQ(changed, full ? 0 : 1);
  EXPECT_EQ(edited, full ? 0 : 1);
  QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(e.text(), !full && route.alone ? before + "xy" : before);
}

INSTANTIATE_TEST_SUITE_P(EveryRoute, BoundRoutes,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(kBoundRoutes))),
                                            ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<int, bool>>& info) {
                           return std::string(kBoundRoutes[std::get<0>(info.param)].key) +
                                  (std::get<1>(info.param) ? "_AtTheBound" : "_TwoBelow");
                         });

// A name the program sets (read from a file of an earlier version) keeps its
// beginning and shows a line break as the blank it becomes; the person then
// types on at the bound as in any name.
TEST(BoundedNames, TakeWhatTheProgramSetsAsShown) {
  const struct {
    QString set, kept;
  } cases[] = {
      {"abcdefg", "abcde"},
      {kSmile.repeated(6), kSmile.repeated(5)},
      {"ab\ncd", "ab cd"},
      {QString::fromUtf8("a\r\nb\u2029"), "a  b "},
      {"a\nb", "a b"},
  };
  for (const auto& c : cases) {
    QLineEdit e;
    BoundCharacters(&e, 5);
    e.setText(c.set);
    EXPECT_EQ(e.text(), c.kept) << c.set.toStdString();
    QTest::keyClick(&e, Qt::Key_Z);
    EXPECT_EQ(e.text(), CharacterCount(c.kept) < 5 ? c.kept + "z" : c.kept) << c.set.toStdString();
  }
}

TEST(Windows1252, OneByteForEachCharacter) {
  const struct {
    QString text;
    std::string bytes;
  } cases[] = {
      {QString::fromUtf8("a\u00A0b"), "a\xA0" "b"},
      {QString::fromUtf8("\u20AC\u0178\u00FF"), "\x80\x9F\xFF"},
      {QString::fromUtf8("x\U0001F600y"), "x?y"},
      {QString(QChar(0xD83D)) + "x" + QChar(0xDE00), "?x?"},  // halves of a pair, apart
      {QString(QChar(0xDE00)) + QChar(0xD83D), "??"},          // a pair's halves in the wrong order
      {QStringLiteral("a") + kNul + QStringLiteral("b"), "ab"},
      {QString::fromUtf8("\u0081\u2028\u753B"), "\x81??"},     // an unassigned byte's control character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToWindows1252(c.text), c.bytes) << c.text.toStdString();
    EXPECT_EQ(ToWindows1252(FromWindows1252(c.bytes)), c.bytes);
  }
}

}  // namespace
}  // namespace kalvora::test

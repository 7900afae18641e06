#include "windows/Startup.h"

#include <algorithm>

#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QMdiSubWindow>

#include "platform/Prompts.h"
#include "platform/qt/LocalPaths.h"
#include "views/PastePath.h"
#include "windows/InGlob.h"
#include "windows/MacroRec.h"
#include "windows/LibraryReports.h"
#include "windows/dialogs/LoadInst.h"
#include "windows/dialogs/SmallDialogs.h"
#include "windows/Tools.h"
#include "windows/ViewWave.h"
#include "windows/WaveGen.h"

namespace {

// Closing a frame that lives for the whole run minimises it, as closing an
// MDI child does by default on the system this program comes from; the
// window is never hidden for good nor freed.
class TMinimiseOnClose : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() != QEvent::Close) return false;
    e->ignore();
    if (auto* frame = qobject_cast<QWidget*>(watched)) frame->showMinimized();
    return true;
  }
};

// The children that live for the whole run: a system menu and a minimise
// button (and a maximise button on a resizable one); closing the frame (its
// button, its system menu, the platform's key for it) minimises it and never
// frees it: the main window reads their places at the end. The frame's keys
// that a command of the main window uses are taken off it.
QMdiSubWindow* AddChild(TfMain& main, QWidget* child, QPoint place, bool resizable) {
  Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
  if (resizable) flags |= Qt::WindowMaximizeButtonHint;
  QMdiSubWindow* sub = main.MdiArea()->addSubWindow(child, flags);
  sub->setAttribute(Qt::WA_DeleteOnClose, false);
  sub->installEventFilter(new TMinimiseOnClose(sub));
  sub->move(place);
  sub->show();
  main.FreeCommandKeysInChildren();
  return sub;
}

// The first start (no stored places): the voice editor at the top left and
// the main window grown to hold all three children, as far as the screen's
// free area allows. Side by side when that fits (the global settings beside
// the editor, the waveform view under both); else the settings under the
// editor with the view beside them; else each child is kept wholly inside
// the client area, overlapping where it must. Stored places are applied
// afterwards and win.
void PlaceChildrenOnFirstStart(TfMain& main, QWidget* editor, QWidget* settings, QWidget* view) {
  QWidget *e = editor->parentWidget(), *s = settings->parentWidget(), *v = view->parentWidget();
  QMdiArea* area = main.MdiArea();
  // What the main window needs around its client area: panels and menu
  // inside size(), the frame's decorations outside it.
  const QSize around = main.size() - area->viewport()->size();
  const QSize decorations = main.frameGeometry().size() - main.size();
  const QScreen* screen = main.screen();
  const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
  const QSize room = free.size() - decorations - around;
  const QSize viewMin = v->minimumSizeHint().expandedTo(v->minimumSize());
  const int top = std::max(e->height(), s->height());
  e->move(0, 0);
  if (e->width() + s->width() <= room.width() && top + v->height() <= room.height()) {
    s->move(e->width(), 0);
    v->setGeometry(0, top, e->width() + s->width(), v->height());
  } else if (std::max(e->width(), s->width() + viewMin.width()) <= room.width() &&
             e->height() + std::max(s->height(), viewMin.height()) <= room.height()) {
    s->move(0, e->height());
    v->setGeometry(s->width(), e->height(), std::max(room.width(), e->width()) - s->width(),
                   std::max(s->height(), viewMin.height()));
  } else {
    // Too small a screen for the children apart: the settings overlap the
    // editor's right side, and the view takes what is left under the editor
    // (or overlaps its foot when even its smallest size does not fit).
    s->move(std::clamp(room.width() - s->width(), 0, e->width()), 0);
    const int width = std::max(std::min(room.width(), e->width() + s->width()), viewMin.width());
    if (room.height() - e->height() >= viewMin.height())
      v->setGeometry(0, e->height(), width, room.height() - e->height());
    else
      v->setGeometry(0, std::clamp(room.height() - v->height(), 0, top), width, v->height());
  }
  const QRect used = e->geometry() | s->geometry() | v->geometry();
  const QSize wanted = (used.size() + around).boundedTo(room + around);
  main.resize(wanted.expandedTo(main.size()).boundedTo(free.size() - decorations));
  // The whole frame on the screen's free area.
  const QRect frame = main.frameGeometry();
  const int x = std::clamp(frame.x(), free.left(), std::max(free.left(), free.right() + 1 - frame.width()));
  const int y = std::clamp(frame.y(), free.top(), std::max(free.top(), free.bottom() + 1 - frame.height()));
  main.move(main.pos() + QPoint(x - frame.x(), y - frame.y()));
}

}  // namespace

TKalvoraWindows CreateKalvoraWindows(TMainServices services, const std::vector<std::string>& arguments,
                                     const TWindowCreated& onCreated) {
  auto created = [&](const char* name, QObject* w) {
    if (onCreated) onCreated(name, w);
  };
  TKalvoraWindows w;

  w.Main = std::make_unique<TfMain>(std::move(services));
  TfMain& main = *w.Main;
  GuardPastes();
  main.show();
  main.FormActivate();  // the first activation comes before any later window
  created("TfMain", &main);

  w.LoadInst = new TfLoadInst(&main);
  main.RestoreFormPosition(w.LoadInst, "LoadInst");
  main.RegisterPlacedWindow("LoadInst", w.LoadInst, false);
  w.LoadInst->SetFolder(kalvora::platform::ToQtPath(main.Document().DataFolder.string()));
  w.LoadInst->Load = [&main](const std::filesystem::path& file) { main.LoadInstrumentFile(file); };
  w.LoadInst->Confirm = [&main] { return main.Prompts().confirm("Are you sure?") == 6; };
  w.LoadInst->ShowHelp = [&main](const std::string& topic) { main.Help().showTopic(topic); };
  w.LoadInst->ShowMessage = [&main](const std::string& text) { main.Prompts().message(text); };
  created("TfLoadInst", w.LoadInst);
  w.Sure = new TfSure(&main);
  created("TfSure", w.Sure);
  w.Question = new TfQuestion(&main);
  created("TfQuestion", w.Question);
  w.WavePresetReport = new TfWavePresetReport(&main);
  created("TfWavePresetReport", w.WavePresetReport);
  w.VolumeEnvelopeReport = new TfVolumeEnvelopeReport(&main);
  created("TfVolumeEnvelopeReport", w.VolumeEnvelopeReport);
  w.Message = new TfMessage(&main);
  created("TfMessage", w.Message);
  main.CreateTools();
  w.Tools = main.Tools();
  created("TfTools", w.Tools);
  w.MacroRec = new TfMacroRec(&main);
  created("TfMacroRec", w.MacroRec);

  w.WaveGen = new TfWaveGen(main);
  w.WaveGen->SetRecorder(w.MacroRec);
  {
    TfWaveGen* editor = w.WaveGen;
    main.ShowCurrentVoice = [editor] { editor->DrawPart(); };
    main.OnInstrumentLoaded = [editor] { editor->ShowLoadedInstrument(); };
  }
  AddChild(main, w.WaveGen, QPoint(0, 0), false)->adjustSize();

  TInGlobHost host;
  // Read at each reset: the options dialog changes them during the run.
  host.DefaultDescription = [&main] { return main.DefaultDescription(); };
  host.DefaultQuality = [&main] { return main.Settings().DefaultCalculationQuality; };
  host.SampleChanged = [&main] { main.SetSampleUpToDate(false); };
  host.InstrumentChanged = [&main] { main.SetInstrumentUpToDate(false); };
  host.ShowStatusText = [&main](const std::string& text) { main.ShowStatusText(text); };
  // Placed here once it sits in its MDI frame; stored by the main window's settings.
  w.InGlob = new TfInGlob(main.Document().GlobalSettings(), std::move(host));
  AddChild(main, w.InGlob, QPoint(0, 0), false);

  w.ViewWave = new TfViewWave(main);
  QMdiSubWindow* view = AddChild(main, w.ViewWave, QPoint(0, 0), true);
  view->resize(QSize(330, 180).expandedTo(view->minimumSizeHint()));
  PlaceChildrenOnFirstStart(main, w.WaveGen, w.InGlob, w.ViewWave);

  main.RestoreFormPosition(w.WaveGen, "WaveGen");
  main.RegisterPlacedWindow("WaveGen", w.WaveGen, false);
  created("TfWaveGen", w.WaveGen);
  main.RestoreFormPosition(w.InGlob, "InGlob");
  main.RegisterPlacedWindow("InGlob", w.InGlob, false);
  created("TfInGlob", w.InGlob);
  main.RestoreFormPosition(w.ViewWave, "ViewWave");
  main.RestoreFormSize(w.ViewWave, "ViewWave");
  main.RegisterPlacedWindow("ViewWave", w.ViewWave, true);
  created("TfViewWave", w.ViewWave);
  main.LoadCommandLineInstrument(arguments);

  return w;
}

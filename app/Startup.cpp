#include "Startup.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "InGlob.h"
#include "Placeholders.h"
#include "Tools.h"

namespace {

QMdiSubWindow* AddChild(TfMain& main, QWidget* child, QPoint place) {
  QMdiSubWindow* sub = main.MdiArea()->addSubWindow(child);
  sub->move(place);
  sub->show();
  return sub;
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
  main.show();
  main.FormActivate();  // the first activation comes before any later window
  created("TfMain", &main);

  w.LoadInst = new TfLoadInst(&main);
  main.RestoreFormPosition(w.LoadInst, "LoadInst");
  main.RegisterPlacedWindow("LoadInst", w.LoadInst, false);
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

  w.WaveGen = new TfWaveGen;
  AddChild(main, w.WaveGen, QPoint(0, 0))->resize(330, 190);
  main.RestoreFormPosition(w.WaveGen, "WaveGen");
  main.RegisterPlacedWindow("WaveGen", w.WaveGen, false);
  created("TfWaveGen", w.WaveGen);

  TInGlobHost host;
  host.DefaultDescription = main.DefaultDescription();
  host.DefaultQuality = main.Settings().DefaultCalculationQuality;
  host.SampleChanged = [&main] { main.SetSampleUpToDate(false); };
  host.ShowStatusText = [&main](const std::string& text) { main.ShowStatusText(text); };
  // Placed here once it sits in its MDI frame; stored by the main window's settings.
  w.InGlob = new TfInGlob(std::move(host));
  AddChild(main, w.InGlob, QPoint(340, 0));
  main.RestoreFormPosition(w.InGlob, "InGlob");
  main.RegisterPlacedWindow("InGlob", w.InGlob, false);
  created("TfInGlob", w.InGlob);

  w.ViewWave = new TfViewWave;
  QMdiSubWindow* view = AddChild(main, w.ViewWave, QPoint(0, 200));
  view->resize(330, 180);
  main.RestoreFormPosition(w.ViewWave, "ViewWave");
  main.RestoreFormSize(w.ViewWave, "ViewWave");
  main.RegisterPlacedWindow("ViewWave", w.ViewWave, true);
  created("TfViewWave", w.ViewWave);
  main.LoadCommandLineInstrument(arguments);

  return w;
}

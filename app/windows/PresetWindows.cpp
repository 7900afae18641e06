#include "windows/PresetWindows.h"

#include "windows/AddSynth.h"
#include "windows/FreeEdit.h"
#include "windows/Main.h"

TPresetWindowHost PresetWindowHost(TfMain& main) {
  TPresetWindowHost h;
  h.Document = &main.Document();
  h.Tools = main.Tools();
  h.Prompts = main.Services().Prompts;
  h.FileDialogs = main.Services().FileDialogs;
  h.Help = main.Services().Help;
  h.Ini = &main.Ini();
  h.MakeAudioSink = main.Services().MakeAudioSink;
  h.RestorePosition = [&main](QWidget* w, const std::string& key) { main.RestoreFormPosition(w, key); };
  h.StorePosition = [&main](QWidget* w, const std::string& key) { main.SaveFormPosition(w, key); };
  return h;
}

int ShowFreeEdit(TfMain& main, QWidget* parent) {
  TfFreeEdit form(PresetWindowHost(main), parent ? parent : &main);
  return form.exec();
}

int ShowAddSynth(TfMain& main, QWidget* parent) {
  TfAddSynth form(PresetWindowHost(main), parent ? parent : &main);
  return form.exec();
}

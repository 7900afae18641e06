// The global settings: slider positions to factors and texts in the window,
// and the model's stored forms, quality limits, effect order, memories, the
// factors that are set directly, clamping of stored values and the curve.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QLocale>
#include <QScrollBar>
#include <cmath>
#include <functional>

#include "views/Colors.h"
#include "views/DistortionCurve.h"
#include "windows/InGlob.h"
#include "core/InGlobSettings.h"

namespace {

struct Counted {
  explicit Counted(TInGlobSettings& s) {
    s.OnChanged = [this] { ++changes; };
    s.OnInstrumentChanged = [this] { ++instrumentChanges; };
    s.OnStatusText = [this](const std::string& t) { status = t; };
  }
  int changes = 0;
  int instrumentChanges = 0;
  std::string status;
};

TInGlobSettings Fresh(int quality = 2) {
  TInGlobSettings s;
  s.DefaultQuality = [quality] { return quality; };
  s.ResetQuality();
  s.ResetGlobalDetune();
  s.ResetEffects();
  return s;
}

}  // namespace

TEST(InGlobWindow, SliderPositionsGiveFactorsAndTexts) {
  QLocale::setDefault(QLocale::c());
  int changes = 0;
  std::string status;
  TInGlobHost host;
  host.SampleChanged = [&] { ++changes; };
  host.ShowStatusText = [&](const std::string& t) { status = t; };
  TInGlobSettings settings;
  TfInGlob w(settings, host);
  ASSERT_EQ(w.GetQuality(), 2);

  struct Row {
    const char* slider;
    int position;
    std::function<float()> factor;
    float expected;
    QLabel* label;
    const char* text;  // label text, or the hint for the EQ bands
  };
  const float root2 = static_cast<float>(std::sqrt(2.0L));
  const std::vector<Row> rows = {
      {"sbEQ3", -6, [&] { return w.GetEqFactorTable()[2]; }, 2.0f, nullptr, "6 dB / 200 %"},
      {"sbEQ1", -3, [&] { return w.GetEqFactorTable()[0]; }, root2, nullptr, "3 dB / 141.42 %"},
      {"sbEQ10", 60, [&] { return w.GetEqFactorTable()[9]; }, 0.0009765625f, nullptr, "-60 dB / 0.1 %"},
      {"sbVolume", -60, [&] { return w.GetVolumeFactor(); }, 1024.0f, w.lVolume, "60 dB"},
      {"sbVolume", 12, [&] { return w.GetVolumeFactor(); }, 0.25f, w.lVolume, "-12 dB"},
      {"sbDistortionDry", 6, [&] { return w.GetDistortionFactors().Dry; }, 0.5f, w.lDistortionDry, "-6 dB"},
      {"sbDistortionDistorted", 18, [&] { return w.GetDistortionFactors().Distorted; }, 0.125f,
       w.lDistortionDistorted, "-18 dB"},
      {"sbLowpassResonance", 0, [&] { return w.GetLowpassFactors().Resonance; }, 1024.0f,
       w.lLowpassResonance, "60 dB"},
      {"sbLowpassResonance", 57, [&] { return w.GetLowpassFactors().Resonance; }, root2,
       w.lLowpassResonance, "3 dB"},
      {"sbLowpassCF", 22050 + 20 - 1000, [&] { return float(w.GetLowpassFactors().CutOff); }, 1000.0f,
       w.lLowpassCF, "1 kHz"},
      {"sbLowpassCF", 22050 + 20 - 11025, [&] { return float(w.GetLowpassFactors().CutOff); }, 11025.0f,
       w.lLowpassCF, "11.02 kHz"},
      {"sbLowpassCF", 22050 + 20 - 999, [&] { return float(w.GetLowpassFactors().CutOff); }, 999.0f,
       w.lLowpassCF, "999 Hz"},
      {"sbLowpassCF", 22050, [&] { return float(w.GetLowpassFactors().CutOff); }, 20.0f, w.lLowpassCF,
       "20 Hz"},
  };
  for (const Row& r : rows) {
    auto* bar = w.findChild<QScrollBar*>(r.slider);
    ASSERT_NE(bar, nullptr) << r.slider;
    ASSERT_EQ(bar->orientation(), Qt::Vertical);
    const int before = changes;
    bar->setValue(r.position);  // as the person moves it
    EXPECT_EQ(r.factor(), r.expected) << r.slider << " " << r.position;
    const QString text = r.label ? r.label->text() : bar->toolTip();
    EXPECT_EQ(text.toStdString(), r.text) << r.slider << " " << r.position;
    EXPECT_GT(changes, before) << r.slider;
    if (!r.label) {
      EXPECT_EQ(status, r.text);
    }
  }
  // The distortion hint joins the label and the percentage.
  EXPECT_EQ(w.sbDistortionDry->toolTip().toStdString(), "-6 dB / 50 %");
}

TEST(InGlobSettings, EffectOrderKeepsEachLetterOnce) {
  TInGlobSettings s = Fresh();
  struct Row {
    const char* in;
    const char* out;
  };
  for (const Row& r : {Row{"cabc", "cab"}, Row{"xyz", ""}, Row{"fedcba", "fedcba"}, Row{"a?a", "a"}}) {
    s.SetEffectOrder(r.in);
    EXPECT_EQ(s.GetEffectOrder(), r.out) << r.in;
  }
  s.SetEffectOrder("abc");
  s.SetEqPosition(1, -6);
  s.SetEffectOrder("abc");  // resets every effect parameter
  EXPECT_EQ(s.GetEqFactorTable()[0], 1.0f);

  EXPECT_EQ(s.MoveEffectUp(2), 1);
  EXPECT_EQ(s.GetEffectOrder(), "acb");
  EXPECT_EQ(s.MoveEffectUp(0), 0);
  EXPECT_EQ(s.MoveEffectDown(2), 2);
  EXPECT_EQ(s.GetEffectOrder(), "acb");
  s.SetEffectEnabled('a', false);
  s.SetEffectEnabled('a', true);
  EXPECT_EQ(s.GetEffectOrder(), "cba");
}

TEST(InGlobSettings, QualityKeepsTheCutOffWithinItsLimits) {
  TInGlobSettings s = Fresh(2);
  EXPECT_EQ(s.GetLowpassFactors().CutOff, 11045);  // position 11025 against 22050
  s.SetCutOffFrequency(8000);
  ASSERT_EQ(s.GetLowpassFactors().CutOff, 8000);
  s.SetQuality(0);
  EXPECT_EQ(s.GetLowpassFactors().CutOff, 5512);
  EXPECT_FALSE(s.EqBandEnabled(9));
  EXPECT_FALSE(s.EqBandEnabled(10));
  s.SetQuality(2);
  EXPECT_EQ(s.GetLowpassFactors().CutOff, 5512);

  for (int q : {0, 1, 2}) {
    EXPECT_EQ(Fresh(q).GetLowpassFactors().CutOff, q == 2 ? 11045 : 20) << q;
    TInGlobSettings t = Fresh(q);
    t.SetCutOffFrequency(20);
    EXPECT_EQ(t.GetLowpassFactors().CutOff, 20) << q;
  }
  // Stored values out of range are clamped, never used as indexes.
  s.SetQuality(3);
  EXPECT_EQ(s.GetQuality(), 2);
  s.SetQuality(-1);
  EXPECT_EQ(s.GetQuality(), 0);
  EXPECT_EQ(s.CutOffMax(), 5512);
}

TEST(InGlobSettings, StoredFormsRoundTripAndClamp) {
  TInGlobSettings s = Fresh();
  s.SetEqBands({0, 120, 60, 54, 66, 60, 60, 60, 60, 200});
  EXPECT_EQ(s.GetEqFactorTable()[0], 1024.0f);
  EXPECT_EQ(s.GetEqFactorTable()[1], 0.0009765625f);
  EXPECT_EQ(s.GetEqFactorTable()[3], 2.0f);
  EXPECT_EQ(s.GetEqFactorTable()[4], 0.5f);
  EXPECT_EQ(s.GetEqBands()[9], 120);  // 200 clamps to the lowest level

  s.SetLowpass(6, 30000, 200);
  EXPECT_EQ(s.GetLowpass().Slope, 5);
  EXPECT_EQ(s.GetLowpassFactors().Slope, 0.0f);
  EXPECT_EQ(s.GetLowpass().CutOff, 22050);
  EXPECT_EQ(s.GetLowpass().Resonance, 60);
  const float slopes[6] = {0.5f, 0.25f, 0.125f, 0.0625f, 0.015625f, 0.0f};
  for (int k = 0; k < 6; ++k) {
    s.SetLowpass(static_cast<std::uint8_t>(k), 1000, 30);
    EXPECT_EQ(s.GetLowpassFactors().Slope, slopes[k]) << k;
  }
  EXPECT_EQ(s.GetLowpassFactors().Resonance, 32.0f);

  s.SetGlobalDetune(7, -20);
  EXPECT_EQ(s.GetGlobalDetune(), std::make_pair(5, -11));
  s.SetVolume(48);
  EXPECT_EQ(s.GetVolumeFactor(), 4.0f);
  EXPECT_EQ(s.GetVolume(), 48);
  s.SetFade(65535, 10);
  EXPECT_EQ(s.GetFade(), std::make_pair(65535, 10));

  EXPECT_TRUE(s.LinkDown());
  s.SetDistortion({30, 6, 12, 24});  // releases the link first
  EXPECT_FALSE(s.LinkDown());
  EXPECT_EQ(s.GetDistortion(), (std::array<std::uint8_t, 4>{30, 6, 12, 24}));
  EXPECT_EQ(s.GetDistortionFactors().Threshold, 0.25f);
}

TEST(InGlobSettings, FactorsSetDirectlyStayUntilThePositionMoves) {
  TInGlobSettings s = Fresh();
  EXPECT_EQ(s.GetDistortionFactors().Dry, 0.001f);
  s.SetDistortionPosition(TDistortionSlider::Dry, 60);  // same position: no handler
  EXPECT_EQ(s.GetDistortionFactors().Dry, 0.001f);
  s.SetDistortionPosition(TDistortionSlider::Dry, 59);
  s.SetDistortionPosition(TDistortionSlider::Dry, 60);
  EXPECT_EQ(s.GetDistortionFactors().Dry, 0.0009765625f);
  s.DistortionInit();
  EXPECT_EQ(s.GetDistortionFactors().Dry, 0.001f);
}

TEST(InGlobSettings, LinkJoinsThresholdAndClamp) {
  TInGlobSettings s = Fresh();
  s.SetDistortionPosition(TDistortionSlider::Threshold, 12);
  EXPECT_EQ(s.DistortionPosition(TDistortionSlider::Clamp), 12);
  EXPECT_EQ(s.GetDistortionFactors().Clamp, 0.25f);
  s.SetLink(false);
  s.SetDistortionPosition(TDistortionSlider::Clamp, 31);
  EXPECT_EQ(s.DistortionPosition(TDistortionSlider::Threshold), 12);
  s.SetLink(true);  // (12 + 31) div 2
  EXPECT_EQ(s.DistortionPosition(TDistortionSlider::Threshold), 21);
  EXPECT_EQ(s.DistortionPosition(TDistortionSlider::Clamp), 21);
}

TEST(InGlobSettings, Memories) {
  TInGlobSettings s = Fresh(0);
  s.SetEqBands({60, 60, 60, 60, 60, 60, 60, 60, 66, 66});
  s.ApplyEqMemory(TEqMemory::Highpass, 10);  // bands 9, 10 are off at 11025 Hz
  for (int band = 1; band <= 8; ++band) EXPECT_EQ(s.EqPosition(band), 60) << band;
  EXPECT_EQ(s.EqPosition(9), 6);
  EXPECT_EQ(s.EqPosition(10), 6);

  TInGlobSettings t = Fresh(2);
  t.ApplyEqMemory(TEqMemory::BandpassWide, 2);
  const int wide[10] = {10, 0, 10, 20, 60, 60, 60, 60, 60, 60};
  for (int band = 1; band <= 10; ++band) EXPECT_EQ(t.EqPosition(band), wide[band - 1]) << band;
  t.ApplyEqMemory(TEqMemory::Lowpass, 3);
  for (int band = 1; band <= 10; ++band) EXPECT_EQ(t.EqPosition(band), band <= 3 ? 0 : 60) << band;

  t.ApplyDistortionMemory(-60, 0, -12, -60);  // "Set To Minimum Above" -12
  EXPECT_FALSE(t.LinkDown());
  EXPECT_EQ(t.GetDistortion(), (std::array<std::uint8_t, 4>{60, 0, 12, 60}));
}

TEST(InGlobSettings, ChangesMarkTheSampleAndADescriptionEditOnlyTheInstrument) {
  TInGlobSettings s = Fresh();
  Counted c(s);
  // Filled by a load or a reset: nothing.
  s.Description = {"new text"};
  s.DefaultDescription = [] { return std::vector<std::string>{"default"}; };
  s.ResetDescription();
  EXPECT_EQ(s.Description, std::vector<std::string>{"default"});
  EXPECT_EQ(c.changes, 0);
  EXPECT_EQ(c.instrumentChanges, 0);
  // The person's edit: the instrument, not the sample; the same lines again
  // are no edit.
  s.EditDescription({"default"});
  EXPECT_EQ(c.instrumentChanges, 0);
  s.EditDescription({"default", ""});
  EXPECT_EQ(s.Description, (std::vector<std::string>{"default", ""}));
  EXPECT_EQ(c.instrumentChanges, 1);
  EXPECT_EQ(c.changes, 0);
  s.SetEqPosition(4, -6);
  EXPECT_EQ(c.changes, 1);
  EXPECT_EQ(c.status, "6 dB / 200 %");
  s.SetEqPosition(4, -6);
  EXPECT_EQ(c.changes, 1);
  s.SetEffectEnabled('d', true);
  s.SelectQuality(1);
  EXPECT_GE(c.changes, 3);
}

TEST(InGlobSettings, TextsOfPercentagesAndCutOffs) {
  struct Row {
    int db;
    const char* text;
  };
  for (const Row& r : {Row{0, "100"}, Row{3, "141.42"}, Row{-60, "0.1"}, Row{60, "102400"},
                       Row{-6, "50"}, Row{-3, "70.71"}, Row{-30, "3.12"} /* 312.5 hundredths: ties go to even */})
    EXPECT_EQ(TInGlobSettings::Percentage(TInGlobSettings::LevelFactor(r.db)), r.text) << r.db;
  EXPECT_EQ(TInGlobSettings::Percentage(TInGlobSettings::LevelFactor(3), ','), "141,42");
  EXPECT_EQ(TInGlobSettings::CutOffText(1000), "1 kHz");
  EXPECT_EQ(TInGlobSettings::CutOffText(11025), "11.02 kHz");
  EXPECT_EQ(TInGlobSettings::CutOffText(22050), "22.05 kHz");
  EXPECT_EQ(TInGlobSettings::CutOffText(1005), "1 kHz");  // 100.5 rounds to even
  EXPECT_EQ(TInGlobSettings::CutOffText(5512), "5.51 kHz");
}

TEST(InGlobSettings, DistortionCurveClampsAboveTheThreshold) {
  const int w = 100, h = 81;
  const TDistortionFactors clean{0.0f, 1.0f, 1.0f, 1.0f};
  const TDistortionFactors limit{0.0f, 1.0f, 0.5f, 0.25f};
  const TDistortionFactors loud{1.0f, 1.0f, 1.0f, 1.0f};
  for (int i = 0; i <= w; ++i) {
    const long double s = std::sin(i * M_PI / 2 / w) * (h - 1);
    EXPECT_NEAR(static_cast<double>(DistortionCurveOutput(i, w, h, clean)), static_cast<double>(s), 1e-9);
    const long double limited = s > 40 ? 20 : s;
    EXPECT_NEAR(static_cast<double>(DistortionCurveOutput(i, w, h, limit)), static_cast<double>(limited), 1e-9);
    EXPECT_NEAR(static_cast<double>(DistortionCurveOutput(i, w, h, loud)),
                static_cast<double>(std::min<long double>(2 * s, h - 1)), 1e-9);
  }
}

TEST(InGlobWindow, PagesAndBoxesFollowTheEffectOrder) {
  TInGlobSettings settings;
  TfInGlob w(settings, TInGlobHost{});
  w.SetEffectOrder("dca");
  QStringList tabs;
  for (int i = 0; i < w.pcInGlob->count(); ++i) tabs << w.pcInGlob->tabText(i);
  EXPECT_EQ(tabs.join(","), "General,Effects,Lowpass,Volume,Graphic EQ");
  EXPECT_TRUE(w.cbLowpass->isChecked());
  EXPECT_FALSE(w.cbDistortion->isChecked());
  ASSERT_EQ(w.lbEffectRouting->count(), 3);
  EXPECT_EQ(w.lbEffectRouting->item(0)->text(), "Lowpass");

  w.cbVolume->click();  // unchecking removes the letter and its page
  EXPECT_EQ(w.GetEffectOrder(), "da");
  EXPECT_EQ(w.pcInGlob->count(), 4);
  w.lbEffectRouting->setCurrentRow(1);
  w.bMoveUp->click();
  EXPECT_EQ(w.GetEffectOrder(), "ad");
  EXPECT_EQ(w.lbEffectRouting->currentRow(), 0);
  EXPECT_EQ(w.pcInGlob->tabText(2), "Graphic EQ");
}

TEST(InGlobWindow, TheDistortionCurveReachesTheRightEdge) {
  TInGlobSettings settings = Fresh();
  TDistortionCurveBox box(nullptr, settings);
  for (int size : {120, 121, 200}) {
    box.resize(size, size);
    const QImage image = box.Render();
    // The top of the quarter sine lies in the last column, on the top row.
    bool drawn = false;
    for (int y = 0; y <= 1; ++y) drawn |= image.pixelColor(size - 1, y) != ColorFromBGR(0xC0C0C0);
    EXPECT_TRUE(drawn) << size;
  }
}


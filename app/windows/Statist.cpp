#include "windows/Statist.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/StatisticsText.h"
#include "platform/Prompts.h"
#include "views/Colors.h"
#include "windows/Main.h"

TfStatist::TfStatist(TfMain* main) : QDialog(main), main_(main) {
  setObjectName(QStringLiteral("fStatist"));
  setWindowTitle(QStringLiteral("Kalvora Statistics"));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  auto* general = new QGroupBox(QStringLiteral(" General "), this);
  auto* g = new QGridLayout(general);
  auto row = [&](QGridLayout* grid, int r, const char* caption, const char* name) {
    grid->addWidget(new QLabel(QString::fromLatin1(caption), grid->parentWidget()), r, 0);
    auto* l = new QLabel(grid->parentWidget());
    l->setObjectName(QString::fromLatin1(name));
    l->setMinimumWidth(150);
    grid->addWidget(l, r, 1);
    return l;
  };
  lTotalTime = row(g, 0, "Total Kalvora Time:", "lTotalTime");
  lCalculationTime = row(g, 1, "Total Calculation Time:", "lCalculationTime");
  lCalculatedWaves = row(g, 2, "Calculated Waves:", "lCalculatedWaves");
  lNumberOfStarts = row(g, 3, "Number Of Starts:", "lNumberOfStarts");
  v->addWidget(general);
  auto* memory = new QGroupBox(QStringLiteral(" Kalvora Memory "), this);
  auto* m = new QGridLayout(memory);
  auto gauge = [&](int r, const char* caption, const char* name) {
    m->addWidget(new QLabel(QString::fromLatin1(caption), memory), r, 0);
    auto* bar = new QProgressBar(memory);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(0, 254);
    bar->setTextVisible(false);
    bar->setMinimumWidth(150);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Highlight, ColorFromBGR(clNavy));
    bar->setPalette(pal);
    m->addWidget(bar, r, 1);
    return bar;
  };
  gPresets = gauge(0, "Loaded Wave Presets:", "gPresets");
  gEnvelopes = gauge(1, "Loaded Envelopes:", "gEnvelopes");
  v->addWidget(memory);
  auto* buttons = new QHBoxLayout;
  bOK = new QPushButton(QStringLiteral("&OK"), this);
  bOK->setToolTip(QStringLiteral("close the window and update all changed options|shortcut: Return").section('|', 0, 0));
  bOK->setStatusTip(QStringLiteral("shortcut: Return"));
  bHelp = new QPushButton(QStringLiteral("&Help"), this);
  bHelp->setToolTip(QStringLiteral("open the help"));
  bHelp->setStatusTip(QStringLiteral("shortcut: F1"));
  bOK->setDefault(true);
  buttons->addStretch(1);
  buttons->addWidget(bOK);
  buttons->addWidget(bHelp);
  v->addLayout(buttons);
  connect(bOK, &QPushButton::clicked, this, [this] { done(kalvora::platform::mrOk); });
  connect(bHelp, &QPushButton::clicked, this, [this] { main_->Help().showTopic("otherwindows_statistics"); });
  setFixedSize(sizeHint());
  main->RestoreFormPosition(this, "Statist");
}

void TfStatist::ShowValues() {
  const TMainSettings& s = main_->Settings();
  lTotalTime->setText(QString::fromStdString(DaysTimeText(s.OpenTime + main_->DaysSinceStart())));
  lCalculationTime->setText(QString::fromStdString(DaysTimeText(s.CalculationTime)));
  lCalculatedWaves->setText(QString::number(s.CalculatedWaves));
  lNumberOfStarts->setText(QString::number(s.Starts));
  gPresets->setValue(std::min(254, main_->Document().WavePresets.Count()));
  gEnvelopes->setValue(std::min(254, main_->Document().VolumeEnvelopes.Count()));
}

void TfStatist::showEvent(QShowEvent* e) {
  ShowValues();
  QDialog::showEvent(e);
}

void TfStatist::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) return main_->Help().showTopic("otherwindows_statistics");
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return done(kalvora::platform::mrOk);
  QDialog::keyPressEvent(e);
}

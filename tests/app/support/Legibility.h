// Checks that a window reads at the default font: no label, button, check
// box, radio button or tab shows less than its whole text. Also saves a
// picture of the window in the build's test output folder, to be looked at.
#pragma once

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

namespace kalvora::test {

// The visible texts of `root` that do not fit their widget, as
// "objectName: text (needs n, has m)".
inline QStringList ClippedTexts(QWidget* root) {
  QStringList clipped;
  auto report = [&](QWidget* w, const QString& text, int need, int has) {
    if (need > has)
      clipped << QStringLiteral("%1 \"%2\": needs %3, has %4").arg(w->objectName(), text).arg(need).arg(has);
  };
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(root) || w->width() <= 0) continue;
    if (auto* l = qobject_cast<QLabel*>(w)) {
      if (l->text().isEmpty() || l->wordWrap() || l->textFormat() == Qt::RichText) continue;
      const int indent = l->indent() > 0 ? l->indent() : 0;
      const int has = l->contentsRect().width() - 2 * l->margin() - indent;
      QString shown = l->text();
      if (l->buddy()) shown.remove(QLatin1Char('&'));
      const QSize need = l->fontMetrics().boundingRect(QRect(0, 0, 1 << 20, 1 << 20), int(l->alignment()), shown).size();
      report(l, l->text(), need.width(), has);
      report(l, l->text(), need.height(), l->contentsRect().height());
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      if (b->text().isEmpty()) continue;
      // A button's size hint is its text, icon, indicator and margins.
      report(b, b->text(), b->sizeHint().width(), b->width());
      report(b, b->text(), b->fontMetrics().height(), b->height());
    } else if (auto* t = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < t->count(); ++i)
        if (t->isTabVisible(i)) {
          QString shown = t->tabText(i);
          shown.remove(QLatin1Char('&'));
          // The tab's own padding is at least 4 pixels a side in every style.
          report(t, t->tabText(i), t->fontMetrics().horizontalAdvance(shown) + 8, t->tabRect(i).width());
          // A tab pushed behind the bar's scroll arrows is cut too.
          report(t, t->tabText(i), t->tabRect(i).right() + 1, t->width() - (t->usesScrollButtons() && t->tabRect(t->count() - 1).right() >= t->width() ? 40 : 0));
        }
    }
  }
  return clipped;
}

// Where the picture `name` is saved: the build's test output folder, never
// the program's folder, which holds the user's libraries and settings.
inline QString ScreenshotFile(const QString& name) {
  const QString folder = QStringLiteral(KALVORA_TEST_SCREENSHOTS);
  QDir().mkpath(folder);
  return folder + QStringLiteral("/") + name + QStringLiteral(".png");
}

inline bool SaveScreenshot(QWidget* w, const QString& name) { return w->grab().save(ScreenshotFile(name)); }

}  // namespace kalvora::test

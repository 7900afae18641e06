#include "components/SharedClip.h"

#include <QPointer>
#include <QWidget>

#include "components/GraphicControl.h"

TZRWAniPicClip::TZRWAniPicClip(QObject* owner) : QObject(owner) {
  aniClip_.OnChange = [this](TZRWObject*) { ClipChanged(); };
}

void TZRWAniPicClip::ClipChanged() {
  if (OnChange) OnChange(this);
  if (!parent()) return;
  // A handler may remove images; only those still there are told.
  QList<QPointer<TZRWCustomImage>> images;
  for (TZRWCustomImage* i : parent()->findChildren<TZRWCustomImage*>()) images.push_back(i);
  for (const auto& i : images)
    if (i) i->ClipControlNotify(this);
}

// TZRWAniPicClip: one animation clip that several animated images of the
// same owner show. When it changes, every image of the owner hears of it.
#pragma once

#include <functional>

#include <QObject>
#include <QString>

#include "components/ClipObjects.h"

class TZRWAniPicClip : public QObject {
  Q_OBJECT

 public:
  explicit TZRWAniPicClip(QObject* owner = nullptr);

  TZRWAniClip& AniClip() { return aniClip_; }
  QString About() const { return QStringLiteral("Visual effects controls"); }

  std::function<void(TZRWAniPicClip* sender)> OnChange;

 private:
  void ClipChanged();
  TZRWAniClip aniClip_;
};

// The pictures of the main window's nine tool buttons, drawn here, each on a
// magenta key colour that the buttons leave out.
#pragma once

#include <QImage>

enum class TToolPicture { Play, SaveSample, LoadInstrument, SaveInstrument, Options, Statistics, About, Help, Exit };

inline constexpr QRgb kToolPictureKey = 0xFFFF00FF;

QImage ToolButtonPicture(TToolPicture which, int size = 24);

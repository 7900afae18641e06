// The volume-envelope editors' arithmetic: the screen mapping of a box, the
// free-hand editor's mouse steps, mirroring, random envelopes and the ADSR
// envelope's four bars. Qt-free.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "core/Library.h"

// Screen mapping of a box W x H (single precision, ties to even).
int EnvelopeX(int t, int width);
int EnvelopeY(int l, int height);
int EnvelopeTime(int x, int width);    // 0..255
int EnvelopeLevel(int y, int height);  // 0..255

// "41% - 73%": where the mouse is, in percent of the box.
std::string EnvelopePositionText(int x, int y, int width, int height);

void MirrorEnvelopeTime(TVolumeEnvelope& e);
void MirrorEnvelopeLevel(TVolumeEnvelope& e);
// 3..254 points, first at time 0, last at 255, distinct rising inner times,
// random levels; the name is kept.
void RandomEnvelope(TVolumeEnvelope& e, std::mt19937& random);

// The free-hand editor's state over its working envelope.
class TEnvelopeEditor {
 public:
  TVolumeEnvelope Envelope;
  int Width = 561, Height = 255;

  int Selected = 0;  // 1-based point, 0 none
  bool ButtonDown = false, Dragging = false, Deleting = false;
  int DragX = 0, DragY = 0;

  void Load(const TVolumeEnvelope& e) {
    Envelope = e;
    Selected = 0;
    ButtonDown = Dragging = Deleting = false;
  }
  int X(int point) const { return EnvelopeX(Envelope.X[point - 1], Width); }
  int Y(int point) const { return EnvelopeY(Envelope.Y[point - 1], Height); }

  // Mouse steps; true when the envelope changed.
  bool MouseDown(int x, int y, bool rightButton);
  void MouseMove(int x, int y);
  bool MouseUp();
};

// The ADSR editor's five points and four bars (attack, decay, sustain, release).
class TAdsrEditor {
 public:
  TVolumeEnvelope Envelope;
  int A = 1, D = 1, S = 0, R = 1;  // the bars' positions

  TAdsrEditor() { InitDefaultEnvelope(); }
  void InitDefaultEnvelope();
  // Bars follow the points; a bar below its minimum comes back as the minimum
  // and runs its change step, as moving the bar would.
  void UpdateControls();
  void SetAttack(int a);
  void SetDecay(int d);
  void SetSustain(int s);
  void SetRelease(int r);
  void Random(std::mt19937& random);
  // Count 5, levels 0, 255, s, s, 0.
  static bool HasAdsrShape(const TVolumeEnvelope& e);
  static std::string BarLabel(int position);  // "40 %"

 private:
  int depth_ = 0;
};

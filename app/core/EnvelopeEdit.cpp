#include "core/EnvelopeEdit.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

int RoundEven(float v) { return static_cast<int>(std::nearbyint(v)); }

// Back from the screen: a box of one pixel has no scale and maps to 0.
int FromScreen(float offset, int extent) {
  const float step = static_cast<float>(extent - 1) / 256.0f;
  if (!(step > 0.0f)) return 0;
  return std::clamp(RoundEven(offset / step), 0, 255);
}

std::uint8_t Byte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

int EnvelopeX(int t, int width) {
  return RoundEven(static_cast<float>(t) * static_cast<float>(width - 1) / 256.0f);
}

int EnvelopeY(int l, int height) {
  return RoundEven(static_cast<float>(height) - static_cast<float>(l) * static_cast<float>(height - 1) / 256.0f - 1.0f);
}

int EnvelopeTime(int x, int width) { return FromScreen(static_cast<float>(x), width); }

int EnvelopeLevel(int y, int height) { return FromScreen(static_cast<float>(height - y - 1), height); }

std::string EnvelopePositionText(int x, int y, int width, int height) {
  if (width < 1 || height < 1) return {};
  const long long px = std::llrint((x + 1) * 100.0L / width);
  const long long py = std::llrint(100.0L - (y + 1) * 100.0L / height);
  return std::to_string(px) + "% - " + std::to_string(py) + "%";
}

void MirrorEnvelopeTime(TVolumeEnvelope& e) {
  const TVolumeEnvelope old = e;
  const int n = e.Count;
  for (int i = 0; i < n; ++i) {
    e.X[i] = static_cast<std::uint8_t>(255 - old.X[n - 1 - i]);
    e.Y[i] = old.Y[n - 1 - i];
  }
}

void MirrorEnvelopeLevel(TVolumeEnvelope& e) {
  for (int i = 0; i < e.Count; ++i) e.Y[i] = static_cast<std::uint8_t>(255 - e.Y[i]);
}

void RandomEnvelope(TVolumeEnvelope& e, std::mt19937& random) {
  auto below = [&](int n) { return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(random)); };
  const int count = 3 + below(252);
  std::set<int> inner;
  while (static_cast<int>(inner.size()) < count - 2) {
    const int t = below(256);
    if (t != 0 && t != 255) inner.insert(t);  // sorted and distinct
  }
  e.Count = static_cast<std::uint8_t>(count);
  e.X[0] = 0;
  int i = 1;
  for (int t : inner) e.X[i++] = static_cast<std::uint8_t>(t);
  e.X[count - 1] = 255;
  for (int k = 0; k < count; ++k) e.Y[k] = static_cast<std::uint8_t>(below(256));
}

// --- free-hand editor ---------------------------------------------------------

bool TEnvelopeEditor::MouseDown(int x, int y, bool rightButton) {
  ButtonDown = true;
  Dragging = Deleting = false;
  const int count = Envelope.Count;
  int hit = 0, place = 0;
  for (int i = 1; i <= count; ++i) {
    if (std::abs(x - X(i)) < 5 && std::abs(y - Y(i)) < 5) hit = i;
    if (X(i) < x) place = i;
  }
  if (hit != 0) {
    Selected = hit;
    if (!rightButton) {
      Dragging = true;
      DragX = X(hit);
      DragY = Y(hit);
      return false;
    }
    if (hit == 1 || hit == count) return false;  // the ends stay
    Deleting = true;
    for (int i = hit; i < count; ++i) {
      Envelope.X[i - 1] = Envelope.X[i];
      Envelope.Y[i - 1] = Envelope.Y[i];
    }
    --Envelope.Count;
    Selected = 0;
    return true;
  }
  // A new point goes between the first and the last, at a time that is free
  // there; clicks beyond the ends would put a point before 0 or after 255.
  if (count >= TVolumeEnvelope::kMaxPoints || count < 2) return false;
  place = std::clamp(place, 1, count - 1);
  const int before = Envelope.X[place - 1], after = Envelope.X[place];
  if (after - before < 2) return false;
  const int t = std::clamp(EnvelopeTime(x, Width), before + 1, after - 1);
  for (int i = count; i > place; --i) {
    Envelope.X[i] = Envelope.X[i - 1];
    Envelope.Y[i] = Envelope.Y[i - 1];
  }
  Envelope.X[place] = static_cast<std::uint8_t>(t);
  Envelope.Y[place] = Byte(EnvelopeLevel(y, Height));
  ++Envelope.Count;
  Selected = place + 1;
  MouseUp();
  MouseDown(x, y, false);
  // The press landed beside the inserted point when its time was moved to
  // fit: drag it anyway.
  if (!Dragging) {
    Selected = place + 1;
    Dragging = true;
    DragX = X(Selected);
    DragY = Y(Selected);
  }
  return true;
}

void TEnvelopeEditor::MouseMove(int x, int y) {
  if (!ButtonDown || !Dragging || Selected == 0) return;
  const int count = Envelope.Count;
  if (Selected == 1) x = 0;
  else x = std::max(x, X(Selected - 1) + 1);
  if (Selected == count) x = Width;
  else x = std::min(x, X(Selected + 1) - 1);
  DragX = x;
  DragY = std::clamp(y, 0, Height - 1);
}

bool TEnvelopeEditor::MouseUp() {
  ButtonDown = false;
  if (!Dragging || Deleting || Selected == 0) {
    Dragging = false;
    return false;
  }
  Dragging = false;
  const int count = Envelope.Count;
  int t = EnvelopeTime(DragX, Width);
  if (Selected == 1) t = 0;
  if (Selected == count) t = 255;
  // The times stay rising and inside 0..255 (no wrap at the edges).
  if (Selected > 1 && t <= Envelope.X[Selected - 2]) t = Envelope.X[Selected - 2] + 1;
  if (Selected < count && t >= Envelope.X[Selected]) t = Envelope.X[Selected] - 1;
  Envelope.X[Selected - 1] = Byte(t);
  Envelope.Y[Selected - 1] = Byte(EnvelopeLevel(DragY, Height));
  return true;
}

// --- ADSR -------------------------------------------------------------------

void TAdsrEditor::InitDefaultEnvelope() {
  Envelope.Count = 5;
  const int t[5] = {0, 50, 100, 205, 255}, l[5] = {0, 255, 102, 102, 0};
  for (int i = 0; i < 5; ++i) {
    Envelope.X[i] = static_cast<std::uint8_t>(t[i]);
    Envelope.Y[i] = static_cast<std::uint8_t>(l[i]);
  }
  UpdateControls();
}

void TAdsrEditor::UpdateControls() {
  if (++depth_ > 8) {  // each step settles the bars; this only guards odd data
    --depth_;
    return;
  }
  const auto& X = Envelope.X;
  const int a = std::clamp<int>(X[1], 1, 255);
  if (a != A) {
    A = a;
    SetAttack(a);
  }
  const int d = std::clamp<int>(X[2] - X[1], 1, 255);
  if (d != D) {
    D = d;
    SetDecay(d);
  }
  const int s = Envelope.Y[2];
  if (s != S) {
    S = s;
    SetSustain(s);
  }
  const int r = std::clamp<int>(255 - X[3], 1, 255);
  if (r != R) {
    R = r;
    SetRelease(r);
  }
  --depth_;
}

void TAdsrEditor::SetAttack(int a) {
  if (a + D + R >= 256) a = 255 - D - R;
  a = std::clamp(a, 0, 255);
  const int decay = Envelope.X[2] - Envelope.X[1];
  Envelope.X[2] = Byte(a + decay);
  Envelope.X[1] = Byte(a);
  UpdateControls();
}

void TAdsrEditor::SetDecay(int d) {
  if (A + d + R >= 256) d = 255 - A - R;
  Envelope.X[2] = Byte(Envelope.X[1] + std::max(d, 0));
  UpdateControls();
}

void TAdsrEditor::SetSustain(int s) {
  Envelope.Y[2] = Envelope.Y[3] = Byte(s);
  UpdateControls();
}

void TAdsrEditor::SetRelease(int r) {
  if (A + D + r >= 256) r = 255 - A - D;
  Envelope.X[3] = Byte(255 - std::max(r, 0));
  UpdateControls();
}

void TAdsrEditor::Random(std::mt19937& random) {
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  int a, b, c;
  do {
    a = below(255);
    b = below(255);
    c = below(255);
  } while (!(a < b && b < c));
  const int s = below(255);
  Envelope.Count = 5;
  const int t[5] = {0, a, b, c, 255}, l[5] = {0, 255, s, s, 0};
  for (int i = 0; i < 5; ++i) {
    Envelope.X[i] = static_cast<std::uint8_t>(t[i]);
    Envelope.Y[i] = static_cast<std::uint8_t>(l[i]);
  }
  UpdateControls();
}

bool TAdsrEditor::HasAdsrShape(const TVolumeEnvelope& e) {
  return e.Count == 5 && e.Y[0] == 0 && e.Y[1] == 255 && e.Y[2] == e.Y[3] && e.Y[4] == 0;
}

std::string TAdsrEditor::BarLabel(int position) {
  return std::to_string(std::llrint(position * 100.0L / 255.0L)) + " %";
}

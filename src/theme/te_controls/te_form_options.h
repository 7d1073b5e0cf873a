// The small option objects a skinned window, popup menu, hint or message box
// publishes: a show transition, translucency, a painted shadow, snapping of a
// dragged window and how it is moved and sized, and their groups. Setters clamp
// and report nothing; some tell their owner of a change. What the frame does
// with them is the effects' business.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>

enum TteRotation : uint8_t { krNone = 0, krRotate90 = 1, krRotate180 = 2, krRotate270 = 3 };
enum TTeDirection : uint8_t { kdNone = 0, kdNoRotate = 1, kdRotate90 = 2, kdRotate180 = 3, kdRotate270 = 4 };
enum TTeFormDragMode : uint8_t { kfdmBorder = 0, kfdmFullDrag = 1, kfdmSystemSettings = 2 };

inline const QString kRandomEffect = QStringLiteral("[ RANDOM ] - Random selection");

// One show transition.
class TteAnimationRec {
 public:
  QString Effect() const { return effect_; }
  void SetEffect(const QString& effect) { effect_ = effect; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  int Time() const { return time_; }
  void SetTime(int ms);  // 50..9000
  int Resolution() const { return resolution_; }
  void SetResolution(int pixels);  // 1..10
  int TileCount() const { return tileCount_; }
  void SetTileCount(int count);  // 1..20
  TteRotation Rotation() const { return rotation_; }
  void SetRotation(TteRotation rotation) { rotation_ = rotation; }
  const QImage& Bitmap() const { return bitmap_; }
  void SetBitmap(const QImage& bitmap) { bitmap_ = bitmap.copy(); }
  void Assign(const TteAnimationRec& other);

 private:
  QString effect_ = kRandomEffect;
  bool enabled_ = false;
  int time_ = 400;
  int resolution_ = 1;
  int tileCount_ = 1;
  TteRotation rotation_ = krNone;
  QImage bitmap_;
};

class TTeAnimation {
 public:
  const TteAnimationRec& Rec() const { return rec_; }
  TTeDirection Direction() const;
  void SetDirection(TTeDirection direction);
  QString EffectKind() const { return rec_.Effect(); }
  void SetEffectKind(const QString& effect) { rec_.SetEffect(effect); }
  // Stored in a form file only when not the random selection.
  bool EffectKindStored() const { return rec_.Effect() != kRandomEffect; }
  bool Enabled() const { return rec_.Enabled(); }
  void SetEnabled(bool enabled) { rec_.SetEnabled(enabled); }
  int Resolution() const { return rec_.Resolution(); }
  void SetResolution(int pixels) { rec_.SetResolution(pixels); }
  int TileCount() const { return rec_.TileCount(); }
  void SetTileCount(int count) { rec_.SetTileCount(count); }
  int Time() const { return rec_.Time(); }
  void SetTime(int ms) { rec_.SetTime(ms); }
  void Assign(const TTeAnimation& other) { rec_.Assign(other.rec_); }

 private:
  TteAnimationRec rec_;
};

// The owner's change notification of the options that have one.
using TTeOptionsChanged = std::function<void()>;

class TTeBlending {
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Value() const { return value_; }
  void SetValue(int value);  // 0..255
  void Assign(const TTeBlending& other);
  TTeOptionsChanged OnChange;

 private:
  void Changed() const { if (OnChange) OnChange(); }
  bool enabled_ = false;
  int value_ = 150;
};

class TTeShadow {
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Size() const { return size_; }
  // At most 20; 0 or less turns the shadow off and is kept as 0 (a negative
  // size would grow windows the wrong way).
  void SetSize(int size);
  void Assign(const TTeShadow& other);
  TTeOptionsChanged OnChange;

 private:
  void Changed() const { if (OnChange) OnChange(); }
  bool enabled_ = false;
  int size_ = 4;
};

class TTeGravitation {
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  int Size() const { return size_; }
  void SetSize(int pixels);  // 1..50
  bool SnapToDesktop() const { return snapToDesktop_; }
  void SetSnapToDesktop(bool on) { snapToDesktop_ = on; }
  bool SnapToForms() const { return snapToForms_; }
  void SetSnapToForms(bool on) { snapToForms_ = on; }
  bool OwnedForm() const { return ownedForm_; }
  void SetOwnedForm(bool on) { ownedForm_ = on; }
  void Assign(const TTeGravitation& other) { *this = other; }

 private:
  bool enabled_ = true;
  int size_ = 20;
  bool snapToDesktop_ = true;
  bool snapToForms_ = false;
  bool ownedForm_ = false;
};

struct TTeDragging {
  bool Moveable = true;
  bool Sizeable = true;
  TTeFormDragMode DragMode = kfdmFullDrag;
  void Assign(const TTeDragging& other) { *this = other; }
};

// Blending, shadow and show transition of a popup menu.
class TTePopupMenuOptions {
 public:
  TTeBlending& Blending() { return blending_; }
  TTeShadow& Shadow() { return shadow_; }
  TTeAnimation& Animation() { return animation_; }
  void SetBlending(const TTeBlending& b) { blending_.Assign(b); }
  void SetShadow(const TTeShadow& s) { shadow_.Assign(s); }
  void SetAnimation(const TTeAnimation& a) { animation_.Assign(a); }
  void Assign(const TTePopupMenuOptions& other);

 protected:
  TTeBlending blending_;
  TTeShadow shadow_;
  TTeAnimation animation_;
};

// The same for a form, telling its owner after each change.
class TTeFormOptions : public TTePopupMenuOptions {
 public:
  TTeFormOptions();
  TTeFormOptions(const TTeFormOptions&) = delete;
  TTeFormOptions& operator=(const TTeFormOptions&) = delete;
  void SetBlending(const TTeBlending& b);
  void SetShadow(const TTeShadow& s);
  void SetAnimation(const TTeAnimation& a);
  void Assign(const TTePopupMenuOptions& other);
  TTeOptionsChanged OnChange;

 private:
  void Changed() const { if (OnChange) OnChange(); }
};

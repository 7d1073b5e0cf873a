#include "te_form_options.h"

#include <algorithm>

void TteAnimationRec::SetTime(int ms) { time_ = std::clamp(ms, 50, 9000); }
void TteAnimationRec::SetResolution(int pixels) { resolution_ = std::clamp(pixels, 1, 10); }
void TteAnimationRec::SetTileCount(int count) { tileCount_ = std::clamp(count, 1, 20); }

void TteAnimationRec::Assign(const TteAnimationRec& other) {
  effect_ = other.effect_;
  enabled_ = other.enabled_;
  time_ = other.time_;
  resolution_ = other.resolution_;
  tileCount_ = other.tileCount_;
  rotation_ = other.rotation_;
  bitmap_ = other.bitmap_.copy();
}

TTeDirection TTeAnimation::Direction() const {
  switch (rec_.Rotation()) {
    case krRotate90: return kdRotate90;
    case krRotate180: return kdRotate180;
    case krRotate270: return kdRotate270;
    case krNone: break;
  }
  return kdNone;
}

void TTeAnimation::SetDirection(TTeDirection direction) {
  switch (direction) {
    case kdRotate90: rec_.SetRotation(krRotate90); break;
    case kdRotate180: rec_.SetRotation(krRotate180); break;
    case kdRotate270: rec_.SetRotation(krRotate270); break;
    default: rec_.SetRotation(krNone); break;
  }
}

void TTeBlending::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}

void TTeBlending::SetValue(int value) {
  value = std::clamp(value, 0, 255);
  if (value_ == value) return;
  value_ = value;
  Changed();
}

void TTeBlending::Assign(const TTeBlending& other) {
  enabled_ = other.enabled_;
  value_ = other.value_;
  Changed();
}

void TTeShadow::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}

void TTeShadow::SetSize(int size) {
  const int stored = std::clamp(size, 0, 20);
  const bool enabled = size > 0 && enabled_;
  if (size_ == stored && enabled_ == enabled) return;
  size_ = stored;
  enabled_ = enabled;
  Changed();
}

void TTeShadow::Assign(const TTeShadow& other) {
  enabled_ = other.enabled_;
  size_ = other.size_;
  Changed();
}

void TTeGravitation::SetSize(int pixels) { size_ = std::clamp(pixels, 1, 50); }

void TTePopupMenuOptions::Assign(const TTePopupMenuOptions& other) {
  blending_.Assign(other.blending_);
  shadow_.Assign(other.shadow_);
  animation_.Assign(other.animation_);
}

TTeFormOptions::TTeFormOptions() {
  blending_.OnChange = [this] { Changed(); };
  shadow_.OnChange = [this] { Changed(); };
}

void TTeFormOptions::SetBlending(const TTeBlending& b) {
  blending_.Assign(b);
}
void TTeFormOptions::SetShadow(const TTeShadow& s) {
  shadow_.Assign(s);
}
void TTeFormOptions::SetAnimation(const TTeAnimation& a) {
  animation_.Assign(a);
  Changed();
}
void TTeFormOptions::Assign(const TTePopupMenuOptions& other) {
  TTePopupMenuOptions::Assign(other);
  Changed();
}

#include "Timer.h"

#include "Form.h"

namespace forms {

Timer::Timer(Form& owner, UINT_PTR id, UINT intervalMs, std::function<void()> tick)
    : owner_(owner), id_(id), interval_(intervalMs), tick_(std::move(tick)) {}

Timer::~Timer() { Stop(); }

void Timer::Start() {
  if (!owner_.hwnd_) return;
  if (SetTimer(owner_.hwnd_, id_, interval_, nullptr) == 0) return;
  owner_.timers_[id_] = this;
  running_ = true;
}

void Timer::Stop() {
  if (running_ && owner_.hwnd_) KillTimer(owner_.hwnd_, id_);
  owner_.timers_.erase(id_);
  running_ = false;
}

void Timer::Fire() {
  if (inTick_) return;
  inTick_ = true;
  tick_();
  inTick_ = false;
}

}  // namespace forms

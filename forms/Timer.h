// A form's timer. A tick never starts while the previous one still runs,
// so a tick that opens a modal window is not re-entered by later ticks.
#pragma once

#include <windows.h>

#include <functional>

namespace forms {

class Form;

class Timer {
 public:
  Timer(Form& owner, UINT_PTR id, UINT intervalMs, std::function<void()> tick);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Starts ticking; the owner must be loaded.
  void Start();
  void Stop();
  bool Running() const { return running_; }
  bool InTick() const { return inTick_; }
  // Runs one tick now, as the clock would (tests use it).
  void Fire();

 private:
  Form& owner_;
  UINT_PTR id_;
  UINT interval_;
  std::function<void()> tick_;
  bool running_ = false;
  bool inTick_ = false;
};

}  // namespace forms

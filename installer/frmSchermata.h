// The blue background that covers the screen for the rest of the run; its
// timer opens the information page.
#pragma once

#include "Form.h"
#include "Timer.h"

namespace velisca {

class frmSchermata : public forms::Form {
 public:
  enum Id : int { lblIntestazione = 201, lblNomeProgramma };

  void Timer1_Timer();
  forms::Timer& Timer1() { return timer1_; }

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override;
  void ApplyDesign() override;
  void Form_Load() override;
  // No close box: the user leaves only through the pages' buttons.
  void OnClose() override {}

 private:
  forms::Timer timer1_{*this, 1, 80, [this] { Timer1_Timer(); }};
};

}  // namespace velisca

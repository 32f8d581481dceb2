// "Argomenti trovati": the topics of an index keyword that has more than
// one, as WinHelp lists them; "Visualizza" (or Enter, or a double click)
// shows the chosen one. Modal over the help window.
#pragma once

#include <string>
#include <vector>

#include "Form.h"

namespace zornavex {

class frmArgomentiTrovati : public forms::Form {
 public:
  enum Id : int { lblArgomenti = 10, lstArgomenti, cmdVisualizza, cmdAnnulla };

  frmArgomentiTrovati();

  // The index of the title chosen, or -1 when the window was closed without.
  int Choose(HWND owner, const std::vector<std::wstring>& titles);

  void cmdVisualizza_Click();
  void cmdAnnulla_Click();

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override;
  void Form_Load() override;
  void OnCommand(int id, int notifyCode) override;

 private:
  std::vector<std::wstring> titles_;
  int chosen_ = -1;
};

}  // namespace zornavex

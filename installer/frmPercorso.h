// The information page: what will be installed, and the choice to go on.
#pragma once

#include "Form.h"

namespace velisca {

class frmPercorso : public forms::Form {
 public:
  enum Id : int { cmdInstalla = 301, lblInformazioni, cmdAnnula, lblInformazioni2 };


  void cmdInstalla_Click();
  void cmdAnnula_Click();

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override;
  void OnCommand(int id, int notifyCode) override;
  void OnClose() override {}
};

}  // namespace velisca

// The information page: what will be installed, and the choice to go on.
#pragma once

#include "Pagina.h"

namespace velisca {

class frmPercorso : public Pagina {
 public:
  enum Id : int { cmdInstalla = 301, lblInformazioni, cmdAnnula, lblInformazioni2 };

  frmPercorso() { primoFuoco_ = cmdInstalla; }

  void cmdInstalla_Click();
  void cmdAnnula_Click();

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override;
  void OnCommand(int id, int notifyCode) override;
  void OnClose() override {}
};

}  // namespace velisca

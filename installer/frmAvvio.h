// The confirmation page, the first window of the installer.
#pragma once

#include "Form.h"

namespace velisca {

class frmAvvio : public forms::Form {
 public:
  // In tab order.
  enum Id : int { lblInfo = 101, lblInfo2, lblNomeProgramma, cmdSI, cmdNO };


  void cmdSI_Click();
  void cmdNO_Click();

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override;
  void Form_Load() override;
  void OnCommand(int id, int notifyCode) override;
  // The close box: the only window goes, and with it the program.
  void OnClose() override { cmdNO_Click(); }
};

}  // namespace velisca

// The hidden authorship certificate. Its only button ends the program.
#pragma once

#include "Form.h"

namespace zornavex {

class frmCertificato : public forms::Form {
 public:
  // Ids clear of IDOK and IDCANCEL, which the dialog keys send themselves.
  enum Id : int { cmdOK = 10, fm1, lblDichiarazione1, lblDichiarazione };

  frmCertificato();

  void cmdOK_Click();

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override;
  void ApplyDesign() override;
  void OnCommand(int id, int notifyCode) override;

};

}  // namespace zornavex

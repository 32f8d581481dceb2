// The progress window: its first tick runs the whole installation.
#pragma once

#include <memory>
#include <string>

#include "Installazione.h"
#include "Form.h"
#include "Timer.h"

namespace velisca {

class frmStatoIstallazione : public forms::Form, public VistaInstallazione {
 public:
  // In tab order.
  enum Id : int { PrbStato = 401, lblInfo, cmdAnnulla, Label1 };

  frmStatoIstallazione();
  ~frmStatoIstallazione() override;

  void Timer1_Timer();
  void cmdAnnulla_Click();
  forms::Timer& Timer1() { return timer1_; }

  // The file layer, desktop service and source folder the installation
  // uses; by default the real ones and the installer's own folder.
  void UsaPiattaforma(FileSystem& fs, Scrivania& scrivania, std::wstring sorgente);

  int Valore() const;
  int Massimo() const;

  // VistaInstallazione.
  void MostraAvanzamento(int valore, const std::wstring& testo) override;
  int Messaggio(std::wstring_view testo, std::wstring_view titolo, unsigned stile) override;
  void Termina() override;

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override;
  void ApplyDesign() override;
  void Form_Load() override;
  void Form_Activate() override;
  void OnCommand(int id, int notifyCode) override;
  void OnClose() override {}

 private:
  Installatore CreaInstallatore();
  void MostraValoreSubito(int valore);

  forms::Timer timer1_{*this, 1, 80, [this] { Timer1_Timer(); }};
  std::unique_ptr<FileSystem> fsReale_;
  std::unique_ptr<Scrivania> scrivaniaReale_;
  FileSystem* fs_ = nullptr;
  Scrivania* scrivania_ = nullptr;
  std::wstring sorgente_;
};

}  // namespace velisca

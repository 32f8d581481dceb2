// The About window: icon, title, version, description, the author's
// address, the notice on copying, and the system-information tool.
#pragma once

#include <string>

#include "Form.h"

namespace zornavex {

class frmAbout : public forms::Form {
 public:
  // Ids clear of IDOK and IDCANCEL, which the dialog keys send themselves.
  enum Id : int { cmdOK = 10, picIcon, cmdSysInfo, lblDescription, lblDisclaimer, lblTitle, lblVersion, lblEMail };

  frmAbout();

  void cmdOK_Click();
  void cmdSysInfo_Click();
  void lblEMail_Click();

  // Finds and starts the system-information tool, or shows the one message.
  void StartSysInfo();
  // Reads one value below `root`; false (and an empty text) when the key or
  // the value cannot be read. Throws registry::EmptyValueError for a value
  // without data.
  static bool GetKeyValue(HKEY root, const std::wstring& keyName, const std::wstring& subKeyRef,
                          std::wstring& keyVal);

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override;
  void Form_Load() override;
  void OnCommand(int id, int notifyCode) override;
  HCURSOR CursorFor(HWND control) const override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintLine1(HDC dc);
};

// Starts a program by its path with a window state (SW_SHOWNORMAL,
// SW_SHOWMINIMIZED...), no arguments, without waiting. False if it failed.
bool StartProgram(const std::wstring& path, int windowState);

}  // namespace zornavex

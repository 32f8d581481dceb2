// ZORNAVEX's own help window, shown where the platform has no WinHelp
// viewer: the installed help file in a window like WinHelp's Help Topics,
// with the tabs "Sommario" and "Indice" beside the topic. Modeless,
// resizable, at most one; it reads the files and writes nothing.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "Form.h"
#include "Handles.h"
#include "cnt_contents.h"
#include "hlp_document.h"
#include "hlp_rtf.h"

namespace zornavex {

class frmGuida : public forms::Form {
 public:
  // Shows the help file and the contents file beside it, or brings the open
  // window to the front. False, with nothing shown, when the files cannot
  // be read or the rich edit control is missing.
  bool Open(const std::wstring& helpFile);

  // Control ids, for tests.
  enum : int { tabSchede = 101, tvwSommario, lblParola, txtParola, lstParole, rtfArgomento, cmdIndietro };

  // The topic's own keys and clicks (frmGuida_links.cpp): Tab and
  // Maiusc+Tab select the next or previous jump while there is one, a click
  // on a jump follows it.
  bool HasJumpTowards(bool forward) const;
  void SelectJump(bool forward);
  void rtfArgomento_Click(POINT client);

 protected:
  const forms::FormDesign& Design() const override;
  std::span<const forms::ControlDesign> Controls() const override { return {}; }
  void Form_Load() override;
  void Form_DpiChanged(const RECT& suggested) override;
  void OnDestroyed() override;
  void Form_ColoursChanged() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool Read(const std::wstring& helpFile);
  void CreateParts();
  void ApplyFonts();
  void Layout();
  void FillContents();
  void FillIndex();
  void ShowTab();
  void ShowTopic(int topic);
  // Jumps and history (frmGuida_links.cpp).
  void Navigate(int topic);       // shows a topic the user asked for, remembering the one shown
  void MarkJumps();               // the rich edit's links, from jumps_
  int JumpAtSelection() const;    // -1 without one
  const zxhelp::RtfJump* NextJump(bool forward) const;
  void FollowJump(int jump);
  void UpdateBack();
  HWND Part(int id) const { return GetDlgItem(hwnd(), id); }
  int TopicOf(const zxhelp::HelpTopic* topic) const;

  // Event handlers.
  void Form_Resize();
  void tabSchede_Click();
  void tvwSommario_NodeClick();
  void txtParola_Change();
  void lstParole_Click();     // shows the keyword's first topic
  void lstParole_DblClick();  // and Enter: all its topics to choose from, when it has more than one
  void Form_Enter();  // Enter: opens the chosen topic, or opens and closes a book
  void Form_Escape();
  void cmdIndietro_Click();

  zxhelp::HelpDocument doc_;
  std::vector<zxhelp::ContentsEntry> contents_;
  std::vector<int> contentTopics_;  // topic of each contents entry, -1 for none
  std::vector<std::wstring> words_;  // the index, as listed
  std::vector<zxhelp::RtfJump> jumps_;  // of the topic shown
  std::vector<int> back_;               // topics shown before, latest last
  forms::FontHandle font_;
  int textHeight_ = 13;
  int shown_ = -1;
};

}  // namespace zornavex

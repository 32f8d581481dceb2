// The help window's jumps and history: a jump of the topic is followed by a
// click or by Enter once Tab has selected it, and "Indietro" goes back to
// the topic shown before.
#include <richedit.h>

#include <algorithm>

#include "frmGuida.h"
#include "frmArgomentiTrovati.h"

namespace zornavex {

void frmGuida::Navigate(int topic) {
  if (topic < 0 || topic == shown_) return;
  if (shown_ >= 0) back_.push_back(shown_);
  ShowTopic(topic);
  UpdateBack();
}

void frmGuida::cmdIndietro_Click() {
  if (back_.empty()) return;
  const int topic = back_.back();
  back_.pop_back();
  ShowTopic(topic);
  UpdateBack();
  SetFocus(Part(rtfArgomento));
}

// A disabled button is skipped by Tab, so the order stays as it was while
// there is nothing to go back to; the focus never stays on it.
void frmGuida::UpdateBack() {
  HWND button = Part(cmdIndietro);
  if (!back_.empty() || GetFocus() != button) {
    EnableWindow(button, !back_.empty());
    return;
  }
  SetFocus(Part(rtfArgomento));
  EnableWindow(button, FALSE);
}

// Underlined and coloured by the text itself; CFE_LINK tells assistive
// technology (and the rich edit's cursor) that the range is a link.
void frmGuida::MarkJumps() {
  HWND topic = Part(rtfArgomento);
  CHARRANGE kept{};
  SendMessageW(topic, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  for (const zxhelp::RtfJump& j : jumps_) {
    CHARRANGE range{j.first, j.last};
    SendMessageW(topic, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_LINK;
    format.dwEffects = CFE_LINK;
    SendMessageW(topic, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  }
  SendMessageW(topic, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
}

int frmGuida::JumpAtSelection() const {
  CHARRANGE sel{};
  SendMessageW(Part(rtfArgomento), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  for (std::size_t i = 0; i < jumps_.size(); ++i)
    if (sel.cpMin >= jumps_[i].first && sel.cpMax <= jumps_[i].last && sel.cpMin < jumps_[i].last)
      return static_cast<int>(i);
  return -1;
}

// From the start of the selection: Tab into the topic selects all of it,
// and the next jump is then the first one.
const zxhelp::RtfJump* frmGuida::NextJump(bool forward) const {
  CHARRANGE sel{};
  SendMessageW(Part(rtfArgomento), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  const zxhelp::RtfJump* next = nullptr;
  for (const zxhelp::RtfJump& j : jumps_) {
    const bool selected = j.first == sel.cpMin && j.last == sel.cpMax;
    if (forward && j.first >= sel.cpMin && !selected) return &j;
    if (!forward && j.last <= sel.cpMin) next = &j;
  }
  return next;
}

bool frmGuida::HasJumpTowards(bool forward) const { return NextJump(forward) != nullptr; }

void frmGuida::SelectJump(bool forward) {
  const zxhelp::RtfJump* next = NextJump(forward);
  if (!next) return;
  CHARRANGE range{next->first, next->last};
  SendMessageW(Part(rtfArgomento), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  SendMessageW(Part(rtfArgomento), EM_SCROLLCARET, 0, 0);
}

void frmGuida::FollowJump(int jump) {
  if (jump < 0 || jump >= static_cast<int>(jumps_.size())) return;
  Navigate(TopicOf(doc_.TopicOfHash(jumps_[jump].target)));
}

void frmGuida::rtfArgomento_Click(POINT client) {
  POINTL at{client.x, client.y};
  const auto character = static_cast<long>(SendMessageW(Part(rtfArgomento), EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at)));
  for (std::size_t i = 0; i < jumps_.size(); ++i)
    if (character >= jumps_[i].first && character < jumps_[i].last) {
      FollowJump(static_cast<int>(i));
      return;
    }
}

// Like WinHelp's "Argomenti trovati": one topic opens at once, several are
// listed by title.
void frmGuida::lstParole_DblClick() {
  const LRESULT at = SendMessageW(Part(lstParole), LB_GETCURSEL, 0, 0);
  if (at < 0 || static_cast<std::size_t>(at) >= doc_.keywords.size()) return;
  std::vector<int> topics;
  for (const std::uint32_t offset : doc_.keywords[at].offsets) {
    const int topic = TopicOf(doc_.TopicAt(offset));
    if (topic >= 0 && std::find(topics.begin(), topics.end(), topic) == topics.end()) topics.push_back(topic);
  }
  if (topics.size() <= 1) {
    if (!topics.empty()) Navigate(topics.front());
    return;
  }
  std::vector<std::wstring> titles;
  for (const int topic : topics) titles.push_back(zxhelp::FromWindows1252(doc_.topics[topic].title));
  frmArgomentiTrovati chooser;
  const int chosen = chooser.Choose(hwnd(), titles);
  // Windows activates the owner of a closed window by itself; Wine 8 leaves
  // the foreground on the window gone.
  SetForegroundWindow(hwnd());
  if (chosen >= 0) Navigate(topics[chosen]);
}

}  // namespace zornavex

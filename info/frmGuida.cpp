#include "frmGuida.h"

#include <commctrl.h>
#include <windowsx.h>
#include <richedit.h>

#include <algorithm>
#include <array>
#include <exception>
#include <optional>

#include "Accessibility.h"
#include "CommonControls.h"
#include "Dpi.h"
#include "SystemLibrary.h"
#include "help_viewer_rules.h"
#include "hlp_rtf.h"
#include "resource.h"

namespace zornavex {
namespace {

const forms::FormDesign kDesign{.caption = L"", .clientWidth = 840, .clientHeight = 540,
    .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, .iconId = IDI_ZORNAVEX};

// The platform's rich edit control; it stays loaded for the rest of the run,
// since its windows may live until the end.
bool RichEditAvailable() {
  static const HMODULE module = forms::LoadSystemLibrary(L"MSFTEDIT.DLL");
  return module != nullptr;
}

// A whole file, or nothing when it is missing, unreadable or larger than
// any help file of ours.
std::optional<std::string> ReadWhole(const std::wstring& path) {
  forms::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 16 * 1024 * 1024) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size()))
    return std::nullopt;
  return bytes;
}

HWND CreatePart(HWND parent, int id, DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), forms::Instance(), nullptr);
}

constexpr UINT kTopicClicked = WM_APP + 1;  // lParam: the point, in the topic's client area

// The topic leaves Tab, Enter and Esc to the window (a multi-line rich edit
// would keep them), except a Tab that selects a jump; the typed word hands
// the list's moving keys to the list.
LRESULT CALLBACK KeysProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  auto* form = reinterpret_cast<frmGuida*>(data);
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if (msg == WM_GETDLGCODE && id == frmGuida::rtfArgomento) {
    const auto* key = reinterpret_cast<const MSG*>(lp);
    const bool jumpTab = key && key->message == WM_KEYDOWN && key->wParam == VK_TAB && form->HasJumpTowards(!shift);
    return (forms::DefSubclass(h, msg, wp, lp) & ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) |
           (jumpTab ? DLGC_WANTTAB : 0);
  }
  if (id == frmGuida::rtfArgomento && msg == WM_KEYDOWN && wp == VK_TAB) {
    form->SelectJump(!shift);
    return 0;
  }
  if (id == frmGuida::rtfArgomento && msg == WM_CHAR && wp == L'\t') return 0;
  if (id == frmGuida::rtfArgomento && msg == WM_LBUTTONUP) PostMessageW(GetParent(h), kTopicClicked, 0, lp);
  if (msg == WM_KEYDOWN && id == frmGuida::txtParola &&
      (wp == VK_UP || wp == VK_DOWN || wp == VK_PRIOR || wp == VK_NEXT)) {
    SendMessageW(GetDlgItem(GetParent(h), frmGuida::lstParole), msg, wp, lp);
    return 0;
  }
  if (msg == WM_NCDESTROY) forms::RemoveSubclass(h, &KeysProc, id);
  return forms::DefSubclass(h, msg, wp, lp);
}

}  // namespace

const forms::FormDesign& frmGuida::Design() const { return kDesign; }

bool frmGuida::Open(const std::wstring& helpFile) {
  if (IsLoaded()) {
    if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    SetForegroundWindow(hwnd());
    return true;
  }
  if (!RichEditAvailable() || !Read(helpFile)) return false;
  Show();
  if (!IsLoaded()) return false;
  SetFocus(Part(tvwSommario));
  return true;
}

int frmGuida::TopicOf(const zxhelp::HelpTopic* topic) const {
  return topic ? static_cast<int>(topic - doc_.topics.data()) : -1;
}

// Without a contents file the "Sommario" lists every topic of the help file.
bool frmGuida::Read(const std::wstring& helpFile) {
  const auto hlp = ReadWhole(helpFile);
  if (!hlp) return false;
  const std::size_t dot = helpFile.find_last_of(L'.');
  const auto cnt = ReadWhole(helpFile.substr(0, dot == std::wstring::npos ? helpFile.size() : dot) + L".cnt");
  try {
    doc_ = zxhelp::ReadHelpDocument(*hlp);
    contents_.clear();
    contentTopics_.clear();
    if (cnt) {
      contents_ = zxhelp::ReadContentsFile(*cnt).entries;
      for (const zxhelp::ContentsEntry& e : contents_)
        contentTopics_.push_back(e.IsBook() ? -1 : TopicOf(doc_.TopicOfContext(e.context)));
    } else {
      for (std::size_t i = 0; i < doc_.topics.size(); ++i) {
        contents_.push_back({1, doc_.topics[i].title, "-"});
        contentTopics_.push_back(static_cast<int>(i));
      }
    }
    return true;
  } catch (const std::exception&) {  // damaged, truncated or foreign: nothing is shown
    return false;
  }
}

void frmGuida::Form_Load() {
  CreateParts();
  ApplyFonts();
  FillContents();
  FillIndex();
  SetCaption(zxhelp::FromWindows1252(doc_.title));
  ShowTab();
  Layout();
  ShowTopic(TopicOf(doc_.TopicAt(doc_.contentsOffset)));
}

void frmGuida::OnDestroyed() {
  shown_ = -1;
  back_.clear();
  jumps_.clear();
  font_.reset();
}

void frmGuida::CreateParts() {
  HWND tab = CreatePart(hwnd(), tabSchede, 0, WC_TABCONTROLW, L"Schede", WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS);
  AddAccessibleName(tab, L"Schede");
  const wchar_t* names[] = {L"Sommario", L"Indice"};
  for (int i = 0; i < 2; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(names[i]);
    SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  // The tree and the list draw no text of their own: it names them for
  // screen readers, like the annotation that the topic needs.
  HWND tree = CreatePart(hwnd(), tvwSommario, WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"Sommario",
                         WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS);
  AddAccessibleName(tree, L"Sommario");
  CreatePart(hwnd(), lblParola, 0, L"STATIC", L"&Parola da cercare:", SS_LEFT);
  forms::SetSubclass(CreatePart(hwnd(), txtParola, WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL),
                    &KeysProc, txtParola, reinterpret_cast<DWORD_PTR>(this));
  HWND list = CreatePart(hwnd(), lstParole, WS_EX_CLIENTEDGE, L"LISTBOX", L"Indice",
                         WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
  AddAccessibleName(list, L"Indice");
  CreatePart(hwnd(), cmdIndietro, 0, L"BUTTON", L"&Indietro", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON);
  HWND topic = CreatePart(hwnd(), rtfArgomento, WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, L"",
                          WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL);
  forms::SetSubclass(topic, &KeysProc, rtfArgomento, reinterpret_cast<DWORD_PTR>(this));
  AddAccessibleName(topic, L"Argomento");
}

void frmGuida::ApplyFonts() {
  const UINT systemDpi = forms::dpi::ForSystem();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW lf{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    lf = metrics.lfMessageFont;
    lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(Dpi()), static_cast<int>(systemDpi));
  } else {
    lf.lfHeight = -MulDiv(8, static_cast<int>(Dpi()), 72);
    lstrcpynW(lf.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
  }
  // The old font is deleted only once no part holds it.
  forms::FontHandle font(CreateFontIndirectW(&lf));
  for (int id : {tabSchede, tvwSommario, lblParola, txtParola, lstParole, cmdIndietro})
    SendMessageW(Part(id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);
  if (HDC dc = GetDC(hwnd())) {
    HGDIOBJ old = SelectObject(dc, font_.get());
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc, &tm)) textHeight_ = tm.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(hwnd(), dc);
  }
  // The rich edit draws its points at the system DPI; a monitor with
  // another DPI gets the difference as zoom.
  HWND topic = Part(rtfArgomento);
  if (Dpi() != systemDpi) SendMessageW(topic, EM_SETZOOM, Dpi(), systemDpi);
  else SendMessageW(topic, EM_SETZOOM, 0, 0);
  SendMessageW(topic, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(Scale(8), Scale(8)));
}

void frmGuida::Layout() {
  HWND tab = Part(tabSchede);
  if (!tab) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int margin = Scale(8), width = client.right, height = client.bottom;
  const int left = std::max(0, std::min(Scale(320), width / 2));
  const int inside = std::max(0, height - 2 * margin);
  MoveWindow(tab, margin, margin, left, inside, TRUE);
  RECT pane{0, 0, left, inside};
  SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
  OffsetRect(&pane, margin, margin);
  InflateRect(&pane, -Scale(2), -Scale(2));
  const int paneWidth = std::max(0, static_cast<int>(pane.right - pane.left));
  MoveWindow(Part(tvwSommario), pane.left, pane.top, paneWidth, std::max(0, static_cast<int>(pane.bottom - pane.top)), TRUE);
  const int boxTop = pane.top + textHeight_ + Scale(4), boxHeight = textHeight_ + Scale(8);
  const int listTop = boxTop + boxHeight + Scale(6);
  MoveWindow(Part(lblParola), pane.left, pane.top, paneWidth, textHeight_, TRUE);
  MoveWindow(Part(txtParola), pane.left, boxTop, paneWidth, boxHeight, TRUE);
  MoveWindow(Part(lstParole), pane.left, listTop, paneWidth, std::max(0, static_cast<int>(pane.bottom) - listTop), TRUE);
  const int topicLeft = margin + left + Scale(6), buttonHeight = textHeight_ + Scale(10);
  const int topicTop = margin + buttonHeight + Scale(6);
  MoveWindow(Part(cmdIndietro), topicLeft, margin, Scale(88), buttonHeight, TRUE);
  MoveWindow(Part(rtfArgomento), topicLeft, topicTop, std::max(0, width - topicLeft - margin),
             std::max(0, height - margin - topicTop), TRUE);
}

void frmGuida::FillContents() {
  HWND tree = Part(tvwSommario);
  std::array<HTREEITEM, 10> books{};  // the last book seen at each level
  for (std::size_t i = 0; i < contents_.size(); ++i) {
    const zxhelp::ContentsEntry& e = contents_[i];
    const std::wstring text = zxhelp::FromWindows1252(e.text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = e.level > 1 && books[e.level - 1] ? books[e.level - 1] : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.lParam = static_cast<LPARAM>(i);
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (e.IsBook()) books[e.level] = item;
  }
}

void frmGuida::FillIndex() {
  HWND list = Part(lstParole);
  words_.clear();
  for (const zxhelp::HelpKeyword& k : doc_.keywords) {
    words_.push_back(zxhelp::FromWindows1252(k.word));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(words_.back().c_str()));
  }
}

void frmGuida::ShowTab() {
  const bool index = SendMessageW(Part(tabSchede), TCM_GETCURSEL, 0, 0) == 1;
  ShowWindow(Part(tvwSommario), index ? SW_HIDE : SW_SHOW);
  for (int id : {lblParola, txtParola, lstParole}) ShowWindow(Part(id), index ? SW_SHOW : SW_HIDE);
}

void frmGuida::ShowTopic(int topic) {
  if (topic < 0 || topic >= static_cast<int>(doc_.topics.size()) || topic == shown_) return;
  jumps_.clear();
  const std::string rtf = zxhelp::TopicToRtf(doc_, doc_.topics[topic], !forms::HighContrast(), &jumps_);
  SETTEXTEX how{ST_DEFAULT, CP_ACP};
  SendMessageW(Part(rtfArgomento), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(rtf.c_str()));
  MarkJumps();
  shown_ = topic;
}

void frmGuida::Form_Resize() { Layout(); }

// The topic is written again in the colours now in force.
void frmGuida::Form_ColoursChanged() {
  const int topic = shown_;
  shown_ = -1;
  ShowTopic(topic);
}

// Resizable: the suggested rectangle, not the design's size.
void frmGuida::Form_DpiChanged(const RECT& suggested) {
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyFonts();
  Layout();
}

void frmGuida::tabSchede_Click() { ShowTab(); }

void frmGuida::tvwSommario_NodeClick() {
  HWND tree = Part(tvwSommario);
  TVITEMW item{};
  item.mask = TVIF_PARAM;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item.hItem || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return;
  const auto entry = static_cast<std::size_t>(item.lParam);
  if (entry < contentTopics_.size()) Navigate(contentTopics_[entry]);
}

void frmGuida::txtParola_Change() {
  wchar_t typed[256]{};
  GetWindowTextW(Part(txtParola), typed, 256);
  const std::size_t at = help::KeywordToFollow(words_, typed);
  if (at == std::wstring::npos) return;
  SendMessageW(Part(lstParole), LB_SETCURSEL, at, 0);
  SendMessageW(Part(lstParole), LB_SETTOPINDEX, at, 0);
}

void frmGuida::lstParole_Click() {
  const LRESULT at = SendMessageW(Part(lstParole), LB_GETCURSEL, 0, 0);
  if (at < 0 || static_cast<std::size_t>(at) >= doc_.keywords.size()) return;
  const auto& offsets = doc_.keywords[at].offsets;
  if (!offsets.empty()) Navigate(TopicOf(doc_.TopicAt(offsets.front())));
}

void frmGuida::Form_Enter() {
  if (GetFocus() == Part(rtfArgomento)) {
    FollowJump(JumpAtSelection());
    return;
  }
  if (SendMessageW(Part(tabSchede), TCM_GETCURSEL, 0, 0) == 1) {
    lstParole_DblClick();
    return;
  }
  HWND tree = Part(tvwSommario);
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return;
  SendMessageW(tree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(item));
  tvwSommario_NodeClick();
}

void frmGuida::Form_Escape() { Unload(); }

LRESULT frmGuida::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      Form_Resize();
      break;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {Scale(420), Scale(300)};
      return 0;
    case WM_CTLCOLORSTATIC:
      // The label lies on the tab's page, which visual styles (and Wine)
      // paint in the window colour, not the dialog colour.
      if (reinterpret_cast<HWND>(lp) == Part(lblParola)) {
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
        SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lp);
      if (n->idFrom == tabSchede && n->code == TCN_SELCHANGE) tabSchede_Click();
      if (n->idFrom == tvwSommario && n->code == TVN_SELCHANGEDW) tvwSommario_NodeClick();
      return 0;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp), code = HIWORD(wp);
      // Enter and Esc, from the dialog keys of the message loop.
      if (id == IDOK && (lp == 0 || code == BN_CLICKED)) Form_Enter();
      else if (id == IDCANCEL) Form_Escape();
      else if (id == txtParola && code == EN_CHANGE) txtParola_Change();
      else if (id == lstParole && code == LBN_SELCHANGE) lstParole_Click();
      else if (id == lstParole && code == LBN_DBLCLK) lstParole_DblClick();
      else if (id == cmdIndietro && code == BN_CLICKED) cmdIndietro_Click();
      return 0;
    }
    case kTopicClicked:
      rtfArgomento_Click({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace zornavex

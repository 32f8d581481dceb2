#include "Form.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <algorithm>

#include "Dpi.h"
#include "Modal.h"
#include "Timer.h"

namespace forms {

namespace {

constexpr wchar_t kFormClass[] = L"ZxForm";
// The classic dialog face: its metrics are the ones the layouts were drawn for.
constexpr double kDialogPoints = 8.25;
int g_loadedForms = 0;

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &lf, &FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// The classic dialog face, whose metrics the layouts were drawn for; where
// it is missing, the nearest face in width.
const wchar_t* DialogFace() {
  static const wchar_t* face = [] {
    for (const wchar_t* f : {L"Microsoft Sans Serif", L"MS Sans Serif", L"Tahoma"})
      if (FaceInstalled(f)) return f;
    return L"MS Shell Dlg";
  }();
  return face;
}

FontHandle MakeFont(const wchar_t* face, double points, bool bold, bool italic, UINT dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(points * dpi / 72.0 + 0.5);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return FontHandle(CreateFontIndirectW(&lf));
}

IconHandle LoadIconAt(int id, int size) {
  if (id == 0) return {};
  return IconHandle(static_cast<HICON>(
      LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

struct ClassInfo {
  const wchar_t* cls;
  DWORD style;
  DWORD exStyle;
};

ClassInfo ClassFor(const ControlDesign& c) {
  const DWORD tab = c.tabStop ? WS_TABSTOP : 0;
  switch (c.kind) {
    // Labels never paint over a box they touch.
    case Kind::Label:
      return {L"STATIC", static_cast<DWORD>((c.wrap ? SS_LEFT : SS_LEFTNOWORDWRAP) | SS_NOTIFY | WS_CLIPSIBLINGS), 0};
    case Kind::TextBox:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | tab | (c.readOnly ? ES_READONLY : 0u), WS_EX_CLIENTEDGE};
    case Kind::DropDownList: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | tab, 0};
    case Kind::Button: return {L"BUTTON", BS_PUSHBUTTON | tab, 0};
    case Kind::PictureButton: return {L"BUTTON", BS_PUSHBUTTON | BS_ICON | tab, 0};
    case Kind::GroupBox: return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::PictureBox: return {L"STATIC", SS_ICON | SS_NOTIFY, 0};
    case Kind::ProgressBar: return {PROGRESS_CLASSW, 0, 0};
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void Initialise() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Form::WindowProc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
}

Form::Form() = default;

Form::~Form() {
  if (hwnd_) DestroyWindow(hwnd_);
}

Form* Form::FromHwnd(HWND hwnd) {
  if (!hwnd) return nullptr;
  wchar_t cls[16]{};
  if (!GetClassNameW(hwnd, cls, 16) || lstrcmpW(cls, kFormClass) != 0) return nullptr;
  return reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Form::Load() {
  if (hwnd_) return;
  Initialise();
  const FormDesign& design = Design();
  dpi_ = dpi::ForSystem();
  HMENU menu = CreateMenuBar();
  HWND created = CreateWindowExW(design.exStyle, kFormClass, design.caption, design.style, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 100, 100, nullptr, menu, Instance(), this);
  if (!created) {
    if (menu) DestroyMenu(menu);
    return;
  }
  ++g_loadedForms;
  dpi_ = dpi::ForWindow(hwnd_);
  if (design.backColour) formBrush_.reset(CreateSolidBrush(ToColorRef(*design.backColour)));
  if (design.iconId) {
    bigIcon_ = LoadIconAt(design.iconId, dpi::Metric(SM_CXICON, dpi_));
    smallIcon_ = LoadIconAt(design.iconId, dpi::Metric(SM_CXSMICON, dpi_));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
  std::vector<ACCEL> accels;
  for (const Accelerator& a : Accelerators())
    accels.push_back({FVIRTKEY, a.virtualKey, static_cast<WORD>(a.commandId)});
  if (!accels.empty())
    accelerators_.reset(CreateAcceleratorTableW(accels.data(), static_cast<int>(accels.size())));
  CreateControls();
  LowerFrames();
  SizeWindow();
  Place(centreOver_);
  ApplyDesign();
  Form_Load();
}

void Form::Show() {
  if (!hwnd_) Load();
  if (!hwnd_) return;
  ShowWindow(hwnd_, Design().placement == Placement::Maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
  UpdateWindow(hwnd_);
  AddToolTips();
}

void Form::Unload() {
  if (!hwnd_) return;
  ReleaseModal(hwnd_);
  DestroyWindow(hwnd_);
}

void Form::CreateControls() {
  dialogFont_ = MakeFont(DialogFace(), kDialogPoints, false, false, dpi_);
  HDC measure = CreateCompatibleDC(nullptr);
  for (const ControlDesign& c : Controls()) {
    const ClassInfo info = ClassFor(c);
    ControlState& st = controls_[c.id];
    st.design = &c;
    HFONT font = FontFor(st);
    // Created in place and with its font, so nothing moves or redraws later.
    const RECT r = RectFor(c, font, measure);
    HWND h = CreateWindowExW(info.exStyle, info.cls, c.kind == Kind::PictureButton ? L"" : c.text,
                             WS_CHILD | WS_VISIBLE | info.style | c.extraStyle, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                             Instance(), nullptr);
    if (!h) {
      controls_.erase(c.id);
      continue;
    }
    st.hwnd = h;
    order_.push_back(c.id);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetIcon(st);
    // Frames draw their own caption, so its colour holds with or without
    // themes; unthemed, any painting the button still does takes the
    // caption colour from WM_CTLCOLORSTATIC as well.
    if (c.kind == Kind::GroupBox) {
      // Its result does not matter: the subclass draws the caption either way.
      SetWindowTheme(h, L"", L"");
      SetWindowSubclass(h, &Form::FrameSubclassProc, 2, reinterpret_cast<DWORD_PTR>(this));
    }
    if (c.kind == Kind::TextBox && c.maxLength > 0) SendMessageW(h, EM_LIMITTEXT, c.maxLength, 0);
  }
  DeleteDC(measure);
}

void Form::LowerFrames() {
  // Frames lie under everything drawn inside them (they take no focus, so
  // the tab order is unchanged).
  for (int id : order_) {
    if (controls_[id].design->kind == Kind::GroupBox)
      SetWindowPos(controls_[id].hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// Tool tips are only needed once the pointer can rest on a control: they are
// made after the window first shows, so it shows sooner.
void Form::AddToolTips() {
  if (tooltip_ || !hwnd_) return;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             0, 0, 0, 0, hwnd_, nullptr, Instance(), nullptr);
  if (!tooltip_) return;
  SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont_.get()), FALSE);
  for (int id : order_) {
    const ControlState& st = controls_[id];
    if (!st.design->tip) continue;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(st.hwnd);
    ti.lpszText = const_cast<wchar_t*>(st.design->tip);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

HFONT Form::FontFor(ControlState& st) {
  const ControlDesign& c = *st.design;
  if (!c.font) return dialogFont_.get();
  if (!st.font)
    st.font = MakeFont(c.font->face ? c.font->face : DialogFace(), c.font->points, c.font->bold, c.font->italic, dpi_);
  return st.font.get();
}

void Form::SetIcon(ControlState& st) {
  const ControlDesign& c = *st.design;
  if (!c.iconId || (c.kind != Kind::PictureBox && c.kind != Kind::PictureButton)) return;
  st.icon = LoadIconAt(c.iconId, Scale(32));
  if (c.kind == Kind::PictureBox)
    SendMessageW(st.hwnd, STM_SETICON, reinterpret_cast<WPARAM>(st.icon.get()), 0);
  else
    SendMessageW(st.hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(st.icon.get()));
}

RECT Form::RectFor(const ControlDesign& c, HFONT font, HDC measure) const {
  int height = Scale(c.h);
  // A drop-down list's height includes its open list.
  if (c.kind == Kind::DropDownList) height += Scale(160);
  int width = Scale(c.w);
  // A one-line label grows to show its whole text in the face at hand.
  if (c.kind == Kind::Label && !c.wrap && c.text) {
    HGDIOBJ old = SelectObject(measure, font);
    SIZE size{};
    GetTextExtentPoint32W(measure, c.text, lstrlenW(c.text), &size);
    SelectObject(measure, old);
    width = std::max(width, static_cast<int>(size.cx) + 1);
  }
  return RECT{Scale(c.x), Scale(c.y), Scale(c.x) + width, Scale(c.y) + height};
}

void Form::Rescale() {
  dialogFont_ = MakeFont(DialogFace(), kDialogPoints, false, false, dpi_);
  HDC measure = CreateCompatibleDC(nullptr);
  for (int id : order_) {
    ControlState& st = controls_[id];
    st.font.reset();
    HFONT font = FontFor(st);
    const RECT r = RectFor(*st.design, font, measure);
    SetWindowPos(st.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(st.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetIcon(st);
  }
  DeleteDC(measure);
  if (tooltip_) SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont_.get()), FALSE);
  SizeWindow();
}

void Form::SizeWindow() {
  const FormDesign& design = Design();
  if (design.placement == Placement::Maximised) return;
  RECT r{0, 0, Scale(design.clientWidth), Scale(design.clientHeight)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  dpi::AdjustRect(r, style, GetMenu(hwnd_) != nullptr, exStyle, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar that wraps takes client height: grow by what is missing.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int missing = Scale(design.clientHeight) - client.bottom;
  if (missing > 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + missing,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Form::Place(HWND over) {
  const Placement placement = Design().placement;
  if (placement == Placement::Maximised) return;
  RECT win{};
  GetWindowRect(hwnd_, &win);
  RECT area{};
  if (placement == Placement::CentreOwner && over && IsWindow(over)) {
    GetWindowRect(over, &area);
  } else {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromWindow(over ? over : hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
    area = mi.rcMonitor;
  }
  const int w = win.right - win.left, h = win.bottom - win.top;
  const int x = area.left + ((area.right - area.left) - w) / 2;
  const int y = area.top + ((area.bottom - area.top) - h) / 2;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

const Form::ControlState* Form::StateOf(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}
Form::ControlState* Form::StateOf(int id) {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}
Form::ControlState* Form::StateOf(HWND control) {
  for (auto& [id, st] : controls_)
    if (st.hwnd == control) return &st;
  return nullptr;
}

HWND Form::Control(int id) const {
  const ControlState* st = StateOf(id);
  return st ? st->hwnd : nullptr;
}

int Form::IdOf(std::wstring_view name) const {
  for (const ControlDesign& c : const_cast<Form*>(this)->Controls())
    if (name == c.name) return c.id;
  return -1;
}

std::wstring Form::Text(int id) const {
  HWND h = Control(id);
  if (!h) return {};
  const int len = GetWindowTextLengthW(h);
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  const int got = GetWindowTextW(h, text.data(), len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void Form::SetText(int id, std::wstring_view text) {
  if (HWND h = Control(id)) SetWindowTextW(h, std::wstring(text).c_str());
}

std::wstring Form::ToolTipText(int id) const {
  HWND h = Control(id);
  if (!h || !tooltip_) return {};
  wchar_t text[256]{};
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(h);
  ti.lpszText = text;
  SendMessageW(tooltip_, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
  return text;
}

void Form::SetCaption(std::wstring_view text) {
  if (hwnd_) SetWindowTextW(hwnd_, std::wstring(text).c_str());
}

void Form::Focus(int id) {
  if (HWND h = Control(id)) SetFocus(h);
}

void Form::ParkFocus() {
  if (!hwnd_) return;
  parkFocus_ = true;
  SetFocus(hwnd_);
  parkFocus_ = false;
}

void Form::SetEnabled(int id, bool enabled) {
  if (HWND h = Control(id)) EnableWindow(h, enabled ? TRUE : FALSE);
}

bool Form::IsEnabled(int id) const {
  HWND h = Control(id);
  return h && IsWindowEnabled(h);
}

void Form::SetReadOnly(int id, bool readOnly) {
  if (HWND h = Control(id)) SendMessageW(h, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool Form::IsReadOnly(int id) const {
  HWND h = Control(id);
  return h && (GetWindowLongPtrW(h, GWL_STYLE) & ES_READONLY) != 0;
}

void Form::SetForeColour(int id, ColourValue colour) {
  if (ControlState* st = StateOf(id)) {
    st->fore = colour;
    InvalidateRect(st->hwnd, nullptr, TRUE);
  }
}

std::optional<ColourValue> Form::ForeColour(int id) const {
  const ControlState* st = StateOf(id);
  return st ? st->fore : std::nullopt;
}

void Form::SetBackColour(int id, ColourValue colour) {
  if (ControlState* st = StateOf(id)) {
    st->back = colour;
    st->backBrush.reset(CreateSolidBrush(ToColorRef(colour)));
    InvalidateRect(st->hwnd, nullptr, TRUE);
  }
}

void Form::OnKeyPress(int id, KeyPressHandler handler) {
  ControlState* st = StateOf(id);
  if (!st) return;
  st->keyPress = std::move(handler);
  SetWindowSubclass(st->hwnd, &Form::EditSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Form::EditSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_CHAR) {
    Form* form = reinterpret_cast<Form*>(ref);
    if (ControlState* st = form->StateOf(h); st && st->keyPress) {
      short key = static_cast<short>(wp);
      st->keyPress(key);
      if (key == 0) return 0;
      wp = static_cast<WPARAM>(static_cast<unsigned short>(key));
    }
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(h, &Form::EditSubclassProc, 1);
  }
  return DefSubclassProc(h, msg, wp, lp);
}

void Form::PaintFrame(HWND frame, HDC dc) {
  ControlState* st = StateOf(frame);
  RECT r{};
  GetClientRect(frame, &r);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, font);
  wchar_t caption[256]{};
  const int len = GetWindowTextW(frame, caption, 256);
  SIZE text{};
  GetTextExtentPoint32W(dc, caption, len, &text);
  RECT edge = r;
  edge.top += text.cy / 2;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  if (len > 0) {
    const int left = Scale(7);
    RECT label{left, 0, left + text.cx + Scale(2), text.cy};
    FillRect(dc, &label, formBrush_ ? formBrush_.get() : GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    if (IsWindowEnabled(frame)) {
      SetTextColor(dc, st && st->fore ? ToColorRef(*st->fore) : GetSysColor(COLOR_BTNTEXT));
      TextOutW(dc, left + Scale(1), 0, caption, len);
    } else {
      // Disabled captions look disabled whatever their colour value.
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      TextOutW(dc, left + Scale(1) + 1, 1, caption, len);
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      TextOutW(dc, left + Scale(1), 0, caption, len);
    }
  }
  SelectObject(dc, oldFont);
}

LRESULT CALLBACK Form::FrameSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(h, &ps);
      reinterpret_cast<Form*>(ref)->PaintFrame(h, dc);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      reinterpret_cast<Form*>(ref)->PaintFrame(h, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    // The themed button paints at once on these, in the theme's colours:
    // they skip the button and the frame repaints itself instead.
    case WM_UPDATEUISTATE:
    case WM_ENABLE:
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(h, msg, wp, lp);
      InvalidateRect(h, nullptr, TRUE);
      return result;
    }
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE: {
      const LRESULT result = DefSubclassProc(h, msg, wp, lp);
      InvalidateRect(h, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(h, &Form::FrameSubclassProc, 2);
      break;
    default:
      break;
  }
  return DefSubclassProc(h, msg, wp, lp);
}

HBRUSH Form::ColourFor(HWND control, HDC dc) {
  ControlState* st = StateOf(control);
  if (!st) return nullptr;
  if (st->fore) SetTextColor(dc, ToColorRef(*st->fore));
  if (st->back) {
    SetBkColor(dc, ToColorRef(*st->back));
    return st->backBrush.get();
  }
  // Read-only boxes keep the usual opaque face; labels and frames show the
  // form through.
  if (st->design->kind == Kind::TextBox) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
  }
  SetBkMode(dc, TRANSPARENT);
  return formBrush_ ? formBrush_.get() : GetSysColorBrush(COLOR_BTNFACE);
}

int Form::DefaultButtonId() const {
  HWND focus = GetFocus();
  for (const auto& [id, st] : controls_) {
    if (st.hwnd == focus && (st.design->kind == Kind::Button || st.design->kind == Kind::PictureButton)) return id;
  }
  return defaultButton_;
}

bool Form::PreTranslate(MSG& msg) {
  if (accelerators_ && TranslateAcceleratorW(hwnd_, accelerators_.get(), &msg)) return true;
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void Form::OnCommand(int, int) {}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (lp == 0 && (code == 0 || code == 1)) {
        if (id == IDCANCEL && cancelButton_) OnCommand(cancelButton_, BN_CLICKED);
        else if (id != IDOK && id != IDCANCEL) OnMenu(id);
        return 0;
      }
      if (id == IDCANCEL && cancelButton_ && code == BN_CLICKED && !Control(IDCANCEL)) {
        OnCommand(cancelButton_, BN_CLICKED);
        return 0;
      }
      OnCommand(id, code);
      return 0;
    }
    case DM_GETDEFID: {
      const int id = DefaultButtonId();
      return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH b = ColourFor(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp))) {
        return reinterpret_cast<LRESULT>(b);
      }
      break;
    case WM_ERASEBKGND:
      if (formBrush_) {
        RECT r{};
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, formBrush_.get());
        return 1;
      }
      break;
    case WM_SETCURSOR:
      if (HCURSOR c = CursorFor(reinterpret_cast<HWND>(wp))) {
        SetCursor(c);
        return TRUE;
      }
      break;
    case WM_LBUTTONDBLCLK:
      Form_DblClick(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else {
        Form_Activate();
      }
      break;
    case WM_SETFOCUS: {
      if (parkFocus_) return 0;
      // Like a dialog: the focus goes back to the control that had it, or to
      // the first control in the tab order.
      HWND target = lastFocus_;
      if (!target || !IsWindow(target) || !IsWindowEnabled(target) || !IsWindowVisible(target))
        target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
      if (target) SetFocus(target);
      return 0;
    }
    case WM_TIMER:
      if (auto it = timers_.find(wp); it != timers_.end()) {
        it->second->Fire();
        return 0;
      }
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      Rescale();
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    for (auto& [id, timer] : self->timers_) KillTimer(hwnd, id);
    self->timers_.clear();
    self->controls_.clear();
    self->order_.clear();
    self->accelerators_.reset();
    self->hwnd_ = nullptr;
    self->tooltip_ = nullptr;
    self->lastFocus_ = nullptr;
    self->OnDestroyed();
    // Like a form run-time: when the last form is gone, the program ends.
    if (--g_loadedForms == 0) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->HandleMessage(msg, wp, lp);
}

}  // namespace forms

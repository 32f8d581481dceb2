#include "Form.h"

#include <commctrl.h>

#include "Accessibility.h"
#include "CommonControls.h"
#include "Dpi.h"
#include "FormDetail.h"
#include "Modal.h"
#include "Timer.h"

namespace forms {

namespace {

constexpr wchar_t kFormClass[] = L"ZxForm";
int g_loadedForms = 0;
// The form whose window this thread is making: its first message
// (WM_GETMINMAXINFO) comes before WM_NCCREATE and its creation data.
thread_local Form* t_loading = nullptr;

}  // namespace


HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void Initialise() {
  static bool done = false;
  if (done) return;
  done = true;
  InitialiseCommonControls(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS);
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
  // Made at its size at the system DPI, which nearly always is the window's:
  // then SizeWindow has nothing left to move.
  RECT size{0, 0, 100, 100};
  if (design.placement != Placement::Maximised) {
    size = {0, 0, Scale(design.clientWidth), Scale(design.clientHeight)};
    dpi::AdjustRect(size, design.style, menu != nullptr, design.exStyle, dpi_);
  }
  t_loading = this;
  HWND created = CreateWindowExW(design.exStyle, kFormClass, design.caption, design.style, CW_USEDEFAULT,
                                 CW_USEDEFAULT, size.right - size.left, size.bottom - size.top, nullptr, menu,
                                 Instance(), this);
  t_loading = nullptr;
  if (!created) {
    if (menu) DestroyMenu(menu);
    return;
  }
  ++g_loadedForms;
  dpi_ = dpi::ForWindow(hwnd_);
  std::vector<ACCEL> accels;
  for (const Accelerator& a : Accelerators())
    accels.push_back({FVIRTKEY, a.virtualKey, static_cast<WORD>(a.commandId)});
  if (!accels.empty())
    accelerators_.reset(CreateAcceleratorTableW(accels.data(), static_cast<int>(accels.size())));
  CreateControls();
  SizeWindow();
  Place(centreOver_);
  ApplyDesign();
  Form_Load();
}

// Given at the window's first message, before the system has drawn or
// converted any icon for it, so that it takes them once.
void Form::SetWindowIcons() {
  const int id = Design().iconId;
  if (!id) return;
  const UINT dpi = dpi::ForWindow(hwnd_);
  bigIcon_ = detail::LoadIconAt(id, dpi::Metric(SM_CXICON, dpi));
  smallIcon_ = detail::LoadIconAt(id, dpi::Metric(SM_CXSMICON, dpi));
  // The small one first: a big icon given alone is shrunk into a small one
  // that the small icon then replaces.
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
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

void Form::SetForeColour(int id, ColourValue colour, std::optional<ColourValue> inHighContrast) {
  if (ControlState* st = StateOf(id)) {
    st->fore = colour;
    st->foreHighContrast = inHighContrast;
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
    InvalidateRect(st->hwnd, nullptr, TRUE);
  }
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

void Form::Form_DpiChanged(const RECT& suggested) {
  SIZE size{suggested.right - suggested.left, suggested.bottom - suggested.top};
  (void)SizeAt(dpi_, size);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  Rescale();
}

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
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (HBRUSH b = ColourFor(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp))) {
        return reinterpret_cast<LRESULT>(b);
      }
      break;
    case WM_CTLCOLORLISTBOX:  // a list's drop-down part
      return reinterpret_cast<LRESULT>(ListColours(reinterpret_cast<HDC>(wp)));
    case WM_ERASEBKGND:
      if (Design().backColour) {
        RECT r{};
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, FormBrush());
        return 1;
      }
      break;
    case WM_SYSCOLORCHANGE:
      Recolour();
      break;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETHIGHCONTRAST) Recolour();
      break;
    case WM_GETOBJECT:
      // A screen reader is asking: the names and role that only annotation
      // can give are set now, before it builds its view of the window.
      Annotate();
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
    case WM_GETDPISCALEDSIZE:
      // Asked before WM_DPICHANGED (Windows 10 1703 on), so that the place it
      // suggests then fits the window's real size at the new DPI.
      return SizeAt(static_cast<UINT>(wp), *reinterpret_cast<SIZE*>(lp)) ? TRUE : FALSE;
    case WM_DPICHANGED:
      dpi_ = HIWORD(wp);
      Form_DpiChanged(*reinterpret_cast<const RECT*>(lp));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) dpi::EnableNonClientScaling(hwnd);
  Form* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self && (t_loading || msg == WM_NCCREATE)) {
    self = t_loading ? t_loading : static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    t_loading = nullptr;
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->SetWindowIcons();
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_DESTROY) self->ClearAnnotations();  // its controls still exist
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    for (auto& [id, timer] : self->timers_) KillTimer(hwnd, id);
    self->timers_.clear();
    self->ClearAnnotations();
    self->destroying_ = false;
    self->extraNames_.clear();
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
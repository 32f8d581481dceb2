// One base class for every window of both programs: the window is built
// from a declarative table of controls laid out in pixels at 96 DPI and
// scaled to the window's DPI; `this` lives in GWLP_USERDATA.
//
// Where Form's members live:
//   Form.cpp               life cycle (Load, Show, Unload), the control
//                          accessors (Text, SetText, Focus, SetEnabled,
//                          colours), the message loop's hooks
//                          (PreTranslate) and WindowProc / HandleMessage;
//                          Initialise and Instance
//   FormControls.cpp       making the controls from the table, fonts, icons,
//                          tool tips, sizes and placement at each DPI
//   FormControlProcs.cpp   the subclasses of text boxes (KeyPress, IME),
//                          frames and pictures, and the colours of controls
//   FormAccessibility.cpp  accessible names and Direct Annotation
//   FormDetail.h           what those files share (dialog font, subclass ids)
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Colour.h"
#include "Handles.h"

namespace forms {

class Timer;
class Annotations;

enum class Kind {
  Label,         // static text, no focus
  TextBox,       // single-line edit
  DropDownList,  // combo box whose text cannot be typed
  Button,        // push button
  PictureButton, // push button showing an icon resource instead of text
  GroupBox,      // frame with a caption
  PictureBox,    // static icon
  ProgressBar,
};

struct FontSpec {
  const wchar_t* face = nullptr;  // nullptr: the form's dialog font
  double points = 8.0;
  bool bold = false;
  bool italic = false;
};

struct ControlDesign {
  int id;
  const wchar_t* name;  // the control's name, for tests and diagnostics
  Kind kind;
  const wchar_t* text;
  int x, y, w, h;       // pixels at 96 DPI, relative to the client area
  const wchar_t* tip = nullptr;
  int maxLength = 0;    // TextBox: 0 means the control's default
  bool readOnly = false;
  bool tabStop = true;  // ignored for labels, group boxes and progress bars
  int iconId = 0;       // PictureBox and PictureButton: icon resource
  bool wrap = false;    // Label: wrap within the width instead of growing to fit one line
  std::optional<FontSpec> font = std::nullopt;
  DWORD extraStyle = 0;
  // What a screen reader calls the control where neither its own text nor
  // the label made just before it says it. A picture button, picture box or
  // progress bar also carries it as its window text, which none of them draws.
  const wchar_t* accName = nullptr;
};

enum class Placement { CentreScreen, CentreOwner, Maximised };

struct FormDesign {
  const wchar_t* caption;
  int clientWidth, clientHeight;  // pixels at 96 DPI
  DWORD style;
  DWORD exStyle = 0;
  int iconId = 0;                 // 0: no window icon
  Placement placement = Placement::CentreScreen;
  std::optional<ColourValue> backColour = std::nullopt;  // while high contrast is on: the window colour
  // A screen reader reads it as a dialog, with its texts, when it opens.
  bool dialog = false;
};

struct Accelerator {
  WORD virtualKey;
  int commandId;
};

class Form {
 public:
  Form();
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window when it is not loaded yet; runs Form_Load.
  void Load();
  // Destroys the window; the object stays and can be loaded again.
  void Unload();
  // Loads when needed and shows the window without modality.
  void Show();
  // The window a CentreOwner form is centred over when it loads.
  void SetCentreOver(HWND over) { centreOver_ = over; }
  bool IsLoaded() const { return hwnd_ != nullptr; }
  HWND hwnd() const { return hwnd_; }

  HWND Control(int id) const;
  int IdOf(std::wstring_view name) const;  // -1 when there is no such control
  std::wstring Text(int id) const;
  void SetText(int id, std::wstring_view text);
  void SetCaption(std::wstring_view text);
  // The text the tool tip of a control shows (empty without one).
  std::wstring ToolTipText(int id) const;
  void Focus(int id);
  // Leaves no control with the focus while the window stays focused, so
  // that Tab still starts at the first control.
  void ParkFocus();
  void SetEnabled(int id, bool enabled);
  bool IsEnabled(int id) const;
  void SetReadOnly(int id, bool readOnly);
  bool IsReadOnly(int id) const;

  // Text and back colours of a control, as colour values; a control without
  // a back colour is drawn transparent on the form. While the system's high
  // contrast is on, a fixed colour gives way to the system colour of the
  // control's role (or to `inHighContrast`); system colours stay.
  void SetForeColour(int id, ColourValue colour, std::optional<ColourValue> inHighContrast = std::nullopt);
  std::optional<ColourValue> ForeColour(int id) const;
  void SetBackColour(int id, ColourValue colour);

  // Pixels at 96 DPI to pixels at the window's DPI.
  int Scale(int pixels) const;
  UINT Dpi() const { return dpi_; }

  // Receives a typed character before its text box does; setting it to 0
  // discards it.
  using KeyPressHandler = std::function<void(short& keyAscii)>;
  void OnKeyPress(int id, KeyPressHandler handler);

  // Lets the message loop handle accelerators and dialog keys for this form.
  virtual bool PreTranslate(MSG& msg);

  static Form* FromHwnd(HWND hwnd);

  // What the last Direct Annotation of this window's names and role gave:
  // S_FALSE before a screen reader first asked for the window.
  HRESULT AnnotationResult() const { return annotationResult_; }
  // Whether the window or one of its controls was given to the annotation
  // service, whatever the service answered.
  bool Annotated(HWND window) const;

 protected:
  // What the derived form is built from; called by Load().
  virtual const FormDesign& Design() const = 0;
  virtual std::span<const ControlDesign> Controls() const = 0;
  virtual std::span<const Accelerator> Accelerators() const { return {}; }
  virtual HMENU CreateMenuBar() { return nullptr; }

  // Design-time state the table cannot say (list items, colours); runs
  // before Form_Load.
  virtual void ApplyDesign() {}
  // Events.
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_DblClick(POINT) {}
  // The window moved to a monitor of another DPI (Dpi() is the new one
  // already): by default it is moved to the place the system suggests and
  // sized to the design at the new DPI in one step, then laid out again.
  virtual void Form_DpiChanged(const RECT& suggested);
  // The notify code of WM_COMMAND: a control's own (BN_CLICKED, CBN_...), or
  // one of these two for a menu item and an accelerator.
  static constexpr int kFromMenu = 0;
  static constexpr int kFromAccelerator = 1;
  virtual void OnCommand(int id, int notifyCode);
  virtual void OnMenu(int id) { OnCommand(id, kFromMenu); }
  // The close button of the title bar; by default the form unloads.
  virtual void OnClose() { Unload(); }
  virtual void OnDestroyed() {}
  virtual HCURSOR CursorFor(HWND) const { return nullptr; }
  // The system colours or high contrast changed; everything is repainted after.
  virtual void Form_ColoursChanged() {}
  // A name for a window the form makes itself, outside its design table.
  void AddAccessibleName(HWND control, const wchar_t* name);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  // The button Enter presses when no other button has the focus, and the one
  // Esc presses; 0 for none.
  int defaultButton_ = 0;
  int cancelButton_ = 0;

  HMENU Menu() const { return GetMenu(hwnd_); }

 private:
  friend class Timer;
  friend void Initialise();
  struct ControlState {
    HWND hwnd = nullptr;
    const ControlDesign* design = nullptr;
    std::optional<ColourValue> fore;
    std::optional<ColourValue> foreHighContrast;
    std::optional<ColourValue> back;
    BrushHandle backBrush;
    COLORREF backBrushColour = CLR_INVALID;
    FontHandle font;
    IconHandle icon;
    KeyPressHandler keyPress;
  };

  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK EditSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK FrameSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK PictureSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK NamedSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void PaintFrame(HWND frame, HDC dc);
  void ShapeFrame(HWND frame);
  void CreateControls();
  void CreateControl(const ControlDesign& c, HDC measure);
  void SetWindowIcons();
  void AddToolTips();
  HFONT FontFor(ControlState& st);
  void SetIcon(ControlState& st);
  RECT RectFor(const ControlDesign& c, HFONT font, HDC measure) const;
  void Rescale();
  void SizeWindow();
  bool SizeAt(UINT dpi, SIZE& size) const;
  bool DesignWindowRect(UINT dpi, RECT& r) const;
  HBRUSH ColourFor(HWND control, HDC dc);
  ColourValue TextColourOf(const ControlState& st) const;
  HBRUSH FormBrush();
  void Recolour();
  void Annotate();
  void AnnotateName(HWND control, const wchar_t* name);
  void KeepAnnotation(HWND window, HRESULT hr);
  void ClearAnnotations();
  static HBRUSH ListColours(HDC dc);
  void TypeComposition(HWND box, ControlState& st);
  ControlState* StateOf(HWND control);
  const ControlState* StateOf(int id) const;
  ControlState* StateOf(int id);
  void Place(HWND owner);
  int DefaultButtonId() const;

  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  std::map<int, ControlState> controls_;
  std::vector<int> order_;
  FontHandle dialogFont_;
  BrushHandle formBrush_;
  COLORREF formBrushColour_ = CLR_INVALID;
  std::vector<std::pair<HWND, const wchar_t*>> extraNames_;
  std::unique_ptr<Annotations> annotations_;
  HRESULT annotationResult_ = S_FALSE;
  std::vector<HWND> annotated_;
  bool destroying_ = false;
  IconHandle bigIcon_, smallIcon_;
  AccelHandle accelerators_;
  HWND tooltip_ = nullptr;
  HWND centreOver_ = nullptr;
  HWND lastFocus_ = nullptr;
  bool parkFocus_ = false;
  std::map<UINT_PTR, Timer*> timers_;
};

// The instance whose resources the forms load (the running executable).
HINSTANCE Instance();

// Registers the common controls and the forms' window class; call once.
void Initialise();

}  // namespace forms

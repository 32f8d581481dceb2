#include "frmAbout.h"

#include <array>
#include <cstddef>

#include "Messages.h"
#include "about_texts.h"
#include "app_info.h"
#include "registry_value.h"
#include "resource.h"
#include "sysinfo_lookup.h"

namespace zornavex {

using forms::ControlDesign;
using forms::Kind;

namespace {

constexpr wchar_t kMailProgram[] = L"C:\\Programmi\\Outlook Express\\MSIMN.exe";
constexpr REGSAM kKeyAccess = 0x2003F;  // read, write and notify: the traditional request
constexpr DWORD kBufferBytes = 1024;

const forms::FormDesign kSpec{.caption = L"", .clientWidth = 382, .clientHeight = 237,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, .exStyle = WS_EX_DLGMODALFRAME,
    .iconId = IDI_ZORNAVEX, .dialog = true};

// Creation order is the tab order of the buttons and the picture, and the
// order a screen reader reads the texts in: top to bottom, as the eye does.
// Labels take no focus, so they can come first.
const ControlDesign kControls[] = {
    {.id = frmAbout::lblTitle, .name = L"lblTitle", .kind = Kind::Label, .text = L"",
     .x = 70, .y = 16, .w = 259, .h = 32},
    {.id = frmAbout::lblVersion, .name = L"lblVersion", .kind = Kind::Label, .text = L"",
     .x = 70, .y = 52, .w = 259, .h = 15},
    {.id = frmAbout::lblDescription, .name = L"lblDescription", .kind = Kind::Label,
     .text = L"Semplice programma per effettuare calcoli di utilità per i microprocessori della famiglia PIC 16F84 e "
             L"16F84A",
     .x = 70, .y = 76, .w = 300, .h = 30, .wrap = true},
    {.id = frmAbout::lblEMail, .name = L"lblEMail", .kind = Kind::Label,
     .text = L"E-Mail enrico.vassallo@posta-mardol.it", .x = 72, .y = 112, .w = 133, .h = 21},
    {.id = frmAbout::lblDisclaimer, .name = L"lblDisclaimer", .kind = Kind::Label,
     .text = L"Attenzione: questo programma è protetto dalle leggi sul diritto d'autore. È vietato copiarlo, "
             L"modificarlo o distribuirlo, in tutto o in parte, senza il permesso scritto dell'autore.",
     .x = 16, .y = 172, .w = 255, .h = 56, .wrap = true},
    {.id = frmAbout::cmdOK, .name = L"cmdOK", .kind = Kind::Button, .text = L"OK",
     .x = 283, .y = 175, .w = 84, .h = 23},
    // A picture that takes the focus, as the window's designer wanted; it
    // shows the focus and has a name for screen readers.
    {.id = frmAbout::picIcon, .name = L"picIcon", .kind = Kind::PictureBox, .text = L"",
     .x = 16, .y = 24, .w = 36, .h = 68, .iconId = IDI_ZORNAVEX, .extraStyle = WS_TABSTOP,
     .accName = L"Icona di ZORNAVEX"},
    {.id = frmAbout::cmdSysInfo, .name = L"cmdSysInfo", .kind = Kind::Button, .text = L"&System Info...",
     .x = 284, .y = 205, .w = 83, .h = 23},
};

constexpr forms::ColourValue kBlack = 0x00000000;

using PenHandle = forms::UniqueHandle<HPEN, forms::FreeGdi>;

}  // namespace

frmAbout::frmAbout() {
  defaultButton_ = cmdOK;
  cancelButton_ = cmdOK;
}

const forms::FormDesign& frmAbout::Design() const { return kSpec; }
std::span<const ControlDesign> frmAbout::Controls() const { return kControls; }

void frmAbout::Form_Load() {
  SetCaption(about::Caption());
  SetText(lblVersion, about::VersionLine(kVersione));
  SetText(lblTitle, kTitoloApplicazione);
  SetForeColour(lblTitle, kBlack);
  SetForeColour(lblDescription, kBlack);
}

void frmAbout::OnCommand(int id, int notifyCode) {
  switch (id) {
    case cmdOK: if (notifyCode == BN_CLICKED) cmdOK_Click(); break;
    case cmdSysInfo: if (notifyCode == BN_CLICKED) cmdSysInfo_Click(); break;
    case lblEMail: if (notifyCode == STN_CLICKED) lblEMail_Click(); break;
    default: break;
  }
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

// A mail program that cannot be started is not worth a message.
void frmAbout::lblEMail_Click() { StartProgram(kMailProgram, SW_SHOWMINIMIZED); }

void frmAbout::StartSysInfo() {
  bool started = false;
  try {
    const auto path = sysinfo::FindProgram(
        [](const wchar_t* key, const wchar_t* name, std::wstring& text) {
          return GetKeyValue(HKEY_LOCAL_MACHINE, key, name, text);
        },
        [](const std::wstring& file) {
          const DWORD attributes = GetFileAttributesW(file.c_str());
          return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        });
    started = path && StartProgram(*path, SW_SHOWNORMAL);
  } catch (const std::exception&) {
    started = false;
  }
  if (!started) forms::ShowMessage(hwnd(), sysinfo::kNotAvailable, kTitoloApplicazione, MB_OK);
}

bool frmAbout::GetKeyValue(HKEY root, const std::wstring& keyName, const std::wstring& subKeyRef,
                           std::wstring& keyVal) {
  forms::KeyHandle key;
  LSTATUS opened = RegOpenKeyExW(root, keyName.c_str(), 0, kKeyAccess, key.put());
  // The traditional request includes write access, which a standard user
  // lacks under HKEY_LOCAL_MACHINE; reading is all that is needed here.
  if (opened == ERROR_ACCESS_DENIED) opened = RegOpenKeyExW(root, keyName.c_str(), 0, KEY_READ, key.put());
  if (opened != ERROR_SUCCESS) {
    keyVal.clear();
    return false;
  }
  std::array<std::byte, kBufferBytes> buffer{};
  DWORD type = 0;
  DWORD size = kBufferBytes;
  if (RegQueryValueExW(key.get(), subKeyRef.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &size) != ERROR_SUCCESS) {
    keyVal.clear();
    return false;
  }
  keyVal = registry::DecodeValue(type, buffer, size, keyVal);
  return true;
}

HCURSOR frmAbout::CursorFor(HWND control) const {
  // The system's pointing hand: it follows the user's pointer scheme and size.
  return control && control == Control(lblEMail) ? LoadCursorW(nullptr, IDC_HAND) : nullptr;
}

// The etched separator: a grey line with a white one a pixel below and to
// the right of it.
void frmAbout::PaintLine1(HDC dc) {
  PenHandle grey(CreatePen(PS_SOLID, Scale(1), RGB(0x80, 0x80, 0x80)));
  PenHandle white(CreatePen(PS_SOLID, Scale(2), RGB(0xFF, 0xFF, 0xFF)));
  if (!grey || !white) return;
  // A wide pen is centred on its line: offset it so it starts at y 164.
  HGDIOBJ old = SelectObject(dc, white.get());
  const int whiteY = Scale(164) + Scale(2) / 2;
  MoveToEx(dc, Scale(7), whiteY, nullptr);
  LineTo(dc, Scale(377), whiteY);
  SelectObject(dc, grey.get());
  const int greyY = Scale(163) + Scale(1) / 2;
  MoveToEx(dc, Scale(6), greyY, nullptr);
  LineTo(dc, Scale(377), greyY);
  SelectObject(dc, old);
}

LRESULT frmAbout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(hwnd(), &ps);
      if (dc) PaintLine1(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    default:
      return Form::HandleMessage(msg, wp, lp);
  }
}

bool StartProgram(const std::wstring& path, int windowState) {
  if (path.empty()) return false;
  // The exact file, not a command line to be searched for.
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(windowState);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  forms::KernelHandle process(pi.hProcess), thread(pi.hThread);
  return true;
}

}  // namespace zornavex

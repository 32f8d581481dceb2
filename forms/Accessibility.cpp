#include "Accessibility.h"

#include <oleacc.h>
#include <wrl/client.h>

#include "SystemLibrary.h"

namespace forms {

namespace {

std::optional<bool> g_highContrastForTests;

// The identities of oleacc's annotation service, spelt out here so that no
// import library of oleacc is needed.
constexpr CLSID kAccPropServices{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIAccPropServices{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kPropName{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID kPropRole{0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};
constexpr DWORD kClient = static_cast<DWORD>(OBJID_CLIENT);

}  // namespace

bool HighContrast() {
  if (g_highContrastForTests) return *g_highContrastForTests;
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof(hc);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void SetHighContrastForTests(std::optional<bool> on) { g_highContrastForTests = on; }

// ole32 is looked up, not imported: the calculator needs it only once a
// screen reader asks for one of its windows.
struct Annotations::Com {
  using InitFn = HRESULT(WINAPI*)(void*, DWORD);
  using CreateFn = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
  using UninitFn = void(WINAPI*)();
  HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
  UninitFn uninit = SystemFunction<UninitFn>(ole32, "CoUninitialize");
  bool initialised = false;
  Microsoft::WRL::ComPtr<IAccPropServices> services;

  HRESULT Start() {
    const auto init = SystemFunction<InitFn>(ole32, "CoInitializeEx");
    const auto create = SystemFunction<CreateFn>(ole32, "CoCreateInstance");
    if (!init || !create || !uninit) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    const HRESULT hr = init(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) return hr;
    initialised = true;
    return create(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                  reinterpret_cast<void**>(services.GetAddressOf()));
  }
  ~Com() {
    services.Reset();
    if (initialised) uninit();
  }
};

Annotations::Annotations() : com_(std::make_unique<Com>()) { ready_ = com_->Start(); }

Annotations::~Annotations() = default;

HRESULT Annotations::Name(HWND control, const wchar_t* name) {
  if (!com_->services) return ready_;
  return com_->services->SetHwndPropStr(control, kClient, CHILDID_SELF, kPropName, name);
}

HRESULT Annotations::DialogRole(HWND window) {
  if (!com_->services) return ready_;
  VARIANT role{};
  role.vt = VT_I4;
  role.lVal = ROLE_SYSTEM_DIALOG;
  return com_->services->SetHwndProp(window, kClient, CHILDID_SELF, kPropRole, role);
}

// Annotations live in the windows' properties: cleared before they go.
HRESULT Annotations::Clear(HWND window) {
  if (!com_->services) return ready_;
  const MSAAPROPID props[] = {kPropName, kPropRole};
  return com_->services->ClearHwndProps(window, kClient, CHILDID_SELF, props, 2);
}

}  // namespace forms

#include "CommonControls.h"

#include "SystemLibrary.h"

namespace forms {

namespace {

struct CommonControlsApi {
  decltype(&::InitCommonControlsEx) init = nullptr;
  decltype(&::SetWindowSubclass) set = nullptr;
  decltype(&::DefSubclassProc) def = nullptr;
  decltype(&::RemoveWindowSubclass) remove = nullptr;
};

const CommonControlsApi& Api() {
  static const CommonControlsApi api = [] {
    // By name, not by path: a path would bypass the manifest and give the
    // old version 5 of the system folder.
    const HMODULE m = LoadLibraryW(L"comctl32.dll");
    return CommonControlsApi{SystemFunction<decltype(&::InitCommonControlsEx)>(m, "InitCommonControlsEx"),
                             SystemFunction<decltype(&::SetWindowSubclass)>(m, "SetWindowSubclass"),
                             SystemFunction<decltype(&::DefSubclassProc)>(m, "DefSubclassProc"),
                             SystemFunction<decltype(&::RemoveWindowSubclass)>(m, "RemoveWindowSubclass")};
  }();
  return api;
}

}  // namespace

bool InitialiseCommonControls(DWORD classes) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), classes};
  return Api().init && Api().init(&icc);
}

bool SetSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
  return Api().set && Api().set(h, proc, id, data);
}

LRESULT DefSubclass(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  // Only subclassed controls call it, and they exist only with comctl32.
  return Api().def ? Api().def(h, msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
}

bool RemoveSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id) { return Api().remove && Api().remove(h, proc, id); }

}  // namespace forms

// What the forms tell assistive technology beyond what the standard
// controls say themselves, and whether the system asks for high contrast.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

namespace forms {

// True while the system's high-contrast mode is on.
bool HighContrast();
// Tests: answer this instead of asking the system (nullopt: ask again).
void SetHighContrastForTests(std::optional<bool> on);

// Direct Annotation of names and of the dialog role, through the system's
// accessibility services (oleacc, loaded when first needed); the values stay
// with the windows until Clear. Each call returns its HRESULT.
class Annotations {
 public:
  Annotations();
  ~Annotations();
  Annotations(const Annotations&) = delete;
  Annotations& operator=(const Annotations&) = delete;

  HRESULT Ready() const { return ready_; }
  HRESULT Name(HWND control, const wchar_t* name);
  HRESULT DialogRole(HWND window);
  HRESULT Clear(HWND window);

 private:
  struct Com;
  std::unique_ptr<Com> com_;
  HRESULT ready_ = E_FAIL;
};

}  // namespace forms

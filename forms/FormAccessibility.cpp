// What a form tells screen readers beyond its controls' own texts: names
// and the dialog role through Direct Annotation.
#include <windows.h>

#include <algorithm>

#include "Accessibility.h"
#include "CommonControls.h"
#include "Form.h"
#include "FormDetail.h"

namespace forms {

void Form::AddAccessibleName(HWND control, const wchar_t* name) {
  extraNames_.emplace_back(control, name);
  SetSubclass(control, &Form::NamedSubclassProc, detail::kNamedSubclass, reinterpret_cast<DWORD_PTR>(this));
  AnnotateName(control, name);
}

// A screen reader may ask a named control before its window.
LRESULT CALLBACK Form::NamedSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_GETOBJECT) reinterpret_cast<Form*>(ref)->Annotate();
  else if (msg == WM_NCDESTROY) RemoveSubclass(h, &Form::NamedSubclassProc, detail::kNamedSubclass);
  return DefSubclass(h, msg, wp, lp);
}

// Only when a screen reader first asks: the services cost a DLL load and a
// COM apartment, which no other user should pay. That query may come before
// the controls exist (a reader's hook sees the window made): every control
// made after it is annotated as it is made.
void Form::Annotate() {
  if (annotations_ || !hwnd_ || destroying_) return;
  const bool named = std::any_of(controls_.begin(), controls_.end(),
                                 [](const auto& c) { return c.second.design->accName != nullptr; });
  if (!named && extraNames_.empty() && !Design().dialog) return;
  annotations_ = std::make_unique<Annotations>();
  annotationResult_ = annotations_->Ready();
  for (int id : order_) AnnotateName(controls_[id].hwnd, controls_[id].design->accName);
  for (const auto& [control, name] : extraNames_) AnnotateName(control, name);
  if (Design().dialog) KeepAnnotation(hwnd_, annotations_->DialogRole(hwnd_));
}

void Form::AnnotateName(HWND control, const wchar_t* name) {
  if (annotations_ && name) KeepAnnotation(control, annotations_->Name(control, name));
}

// The first failure is the one reported.
void Form::KeepAnnotation(HWND window, HRESULT hr) {
  annotated_.push_back(window);
  if (FAILED(hr) && SUCCEEDED(annotationResult_)) annotationResult_ = hr;
}

bool Form::Annotated(HWND window) const {
  return std::find(annotated_.begin(), annotated_.end(), window) != annotated_.end();
}

// While the windows still exist: clearing is what releases the service's
// hold on them.
void Form::ClearAnnotations() {
  destroying_ = true;
  if (annotations_) {
    for (HWND window : annotated_) (void)annotations_->Clear(window);  // the windows go anyway
    annotations_.reset();
  }
  annotated_.clear();
  annotationResult_ = S_FALSE;
}

}  // namespace forms

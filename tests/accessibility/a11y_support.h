// What a screen reader and a user in a dark colour scheme get from a window,
// read in process under Wine: names through oleacc, pixels from the screen.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace a11y {

// The name oleacc gives the window's client object (get_accName).
std::wstring Name(HWND hwnd);
// The control made just before it is a label with this text: the rule by
// which Windows names an edit box or a combo box.
bool LabelBefore(HWND control, std::wstring_view text);
// The texts of the labels and frame captions whose text does not stand out
// from what is drawn behind it on the screen.
std::vector<std::wstring> InvisibleTexts(HWND window);
// How far the brightest or darkest pixel of a rectangle of the screen
// stands from its commonest colour: ink against its background.
int Contrast(HWND window, const RECT& onScreen);
// Whether any pixel of a control differs between two moments (after `change`).
bool Repaints(HWND control, void (*change)(HWND));
// Switches the scheme's high contrast on or off as the system tells a window.
void HighContrast(HWND window, bool on);
// Saves the window as DIR\name.bmp when ZX_A11Y_SHOTS names a folder.
void Shot(HWND window, const wchar_t* name);

}  // namespace a11y

#pragma once
// The look that the card dialog, its pages and the search dialog share.
#include <windows.h>

#include <string>

#include "controls/SkinButton.h"
#include "controls/SkinIconLabel.h"

// wParam of the clicks that the product-name label posts to its dialog.
inline constexpr int ProductLabelIndex = 200;

// A push button: its faces cut from the button strip, the dialog's font.
void SetUpDialogButton(SkinButton& button, HFONT font);
// The product-name label of a top-level dialog: the product's image in
// place of its text, the hand cursor, clicks posted to dialog.
void SetUpProductLabel(SkinIconLabel& label, HWND dialog, HBITMAP image);
// The small and the big icon of a top-level dialog, from this module.
void SetDialogIcons(HWND dialog, int smallIcon, int bigIcon);
// A top-level dialog's title: the product name, " - ", the dialog's text.
std::string DialogTitle(const std::string& productName, const char* text);

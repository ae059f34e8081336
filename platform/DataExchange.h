#pragma once
// Dialog data exchange between controls and members.
#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(HWND window, bool save) : dialog(window), saveAndValidate(save) {}

    HWND dialog;
    bool saveAndValidate;
};

// Binds control id of the dialog to the object, once.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
// Window text of control id and a string.
void DDX_Text(CDataExchange* exchange, int id, std::string& value);
// Check state of button id (0, 1, 2) and an int.
void DDX_Check(CDataExchange* exchange, int id, int& value);

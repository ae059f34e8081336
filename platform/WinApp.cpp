#include "platform/WinApp.h"

#include <commctrl.h>

#include "platform/Wnd.h"

CWinApp& CWinApp::Instance()
{
    static CWinApp app;
    return app;
}

void CWinApp::InitInstance()
{
    if (initialised)
        return;
    initialised = true;
    LoadLibraryA("riched20.dll");
    INITCOMMONCONTROLSEX controls = {sizeof controls,
        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    for (HWND window = msg->hwnd; window; window = GetParent(window)) {
        if (CWnd* object = CWnd::FromHandlePermanent(window); object && object->PreTranslateMessage(msg))
            return TRUE;
        if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

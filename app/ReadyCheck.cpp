#include "ReadyCheck.h"

#include <wx/msgdlg.h>
#include <wx/translation.h>

#include "Controller.h"
#include "MyFrame.h"

wxString NotReadyReason()
{
    if (!theController)
        return _(L"没有连接ECU。");
    // Demo frames come from the recording: nothing sent would reach a car.
    if (theController->m_demoMode)
        return _(L"演示模式下不与ECU通信。");
    if (theController->m_calibrating)
        return _(L"自动标定正在进行，请等它结束。");
    if (!IsControllerReady(true))
        return _(L"没有连接ECU。");
    return wxString();
}

void ShowNotDone(wxWindow* parent, const wxString& what, const wxString& why)
{
    wxMessageBox(what + "\n" + why, _(L"提示"), wxOK | wxICON_WARNING, parent);
}

#include "ReadyCheck.h"

#include <wx/msgdlg.h>
#include <wx/translation.h>

EcuAccess AskEcuAccess(wxWindow* parent, EcuPurpose purpose, const wxString& what)
{
    const EcuAccess access = CheckEcuAccess(purpose);
    if (!Allows(access))
        ShowNotDone(parent, what, RefusalText(access));
    return access;
}

void ShowNotDone(wxWindow* parent, const wxString& what, const wxString& why)
{
    wxMessageBox(what + "\n" + why, _(L"提示"), wxOK | wxICON_WARNING, parent);
}

#include "LoadSaveSelector.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/translation.h>
#include <wx/utils.h>

#include "MyFrame.h"
#include "ReadyCheck.h"
#include "SettingsFileTransfer.h"

namespace
{
const wchar_t* const kFolder = L"./settings/";
const wchar_t* const kExtension = L"xse";

LoadSaveSelector::FileSelector& Selector()
{
    static LoadSaveSelector::FileSelector selector;
    return selector;
}

wxString SelectFile(const wxString& message, const wxString& name, int flags)
{
    const wxString wildcard = _(L"设置文件  (*.xse)|*.xse");
    if (Selector())
        return Selector()(message, kFolder, name, kExtension, wildcard, flags);
    return wxFileSelector(message, kFolder, name, kExtension, wildcard, flags, nullptr);
}

}

wxBEGIN_EVENT_TABLE(LoadSaveSelector, wxDialog)
    EVT_BUTTON(LoadSaveSelector::ID_LOAD, LoadSaveSelector::OnLoad)
    EVT_BUTTON(LoadSaveSelector::ID_SAVE, LoadSaveSelector::OnSave)
wxEND_EVENT_TABLE()

LoadSaveSelector::LoadSaveSelector(wxWindow* parent, wxWindowID id, const wxString& title)
    : wxDialog(parent, id, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE, "dialog")
{
    auto* load = new wxButton(this, ID_LOAD, _(L"载入 "), wxDefaultPosition, wxDefaultSize, 0,
                              wxDefaultValidator, "button");
    auto* save = new wxButton(this, ID_SAVE, _(L"保存 "), wxDefaultPosition, wxDefaultSize, 0,
                              wxDefaultValidator, "button");
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(load, wxSizerFlags().Border(wxTOP | wxBOTTOM | wxLEFT, 3));
    sizer->AddStretchSpacer();
    sizer->Add(save, wxSizerFlags().Border(wxTOP | wxBOTTOM | wxRIGHT, 3));
    SetSizerAndFit(sizer);
    Layout();
    CentreOnPoint(wxGetMousePosition());
    load->SetToolTip(_(L"加载设置的驱动程序 "));
    save->SetToolTip(_(L"保存该司机驾驶的设置 "));
}

LoadSaveSelector::~LoadSaveSelector() = default;

void LoadSaveSelector::CentreOnPoint(const wxPoint& point)
{
    const wxSize client = GetClientSize();
    wxPoint pos(point.x - client.x / 2, point.y - client.y / 2);
    // Near an edge it would hang off the screen, out of reach.
    const int display = wxDisplay::GetFromPoint(point);
    const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
    const wxSize size = GetSize();
    pos.x = std::max(area.x, std::min(pos.x, area.GetRight() + 1 - size.x));
    pos.y = std::max(area.y, std::min(pos.y, area.GetBottom() + 1 - size.y));
    Move(pos);
}

void LoadSaveSelector::SetFileSelector(FileSelector selector)
{
    Selector() = std::move(selector);
}

wxString LoadSaveSelector::SavePathFor(const wxString& chosen)
{
    const wxFileName file(chosen);
    const wxString name = file.GetFullName();
    // GTK's selector would write a file literally named "*.xse".
    if (name.empty() || name.find_first_of("*?") != wxString::npos)
        return wxString();
    if (file.GetExt().Lower() == kExtension)
        return chosen;
    return chosen.EndsWith(".") ? chosen + kExtension : chosen + "." + kExtension;
}

SettingsFileTransfer* LoadSaveSelector::Transfer() const
{
    auto* frame = dynamic_cast<MyFrame*>(GetParent());
    return frame ? frame->GetSettingsFileTransfer() : nullptr;
}

bool LoadSaveSelector::Refused(const wxString& what)
{
    SettingsFileTransfer* transfer = Transfer();
    const wxString why = transfer ? transfer->WhyNot() : RefusalText(CheckEcuAccess(EcuPurpose::SettingsFile));
    if (transfer && why.empty())
        return false;
    ShowNotDone(this, what, why.empty() ? _(L"没有连接ECU。") : why);
    return true;
}

void LoadSaveSelector::OnLoad(wxCommandEvent&)
{
    const wxString notLoaded = _(L"设置文件未载入。");
    // Asked before the selector opens, and again after it closed: the link
    // may have gone meanwhile.
    if (!Refused(notLoaded)) {
        const wxString path = SelectFile(_(L"选择一个设置文件 "), "*.xse", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (!path.empty() && !Refused(notLoaded))
            Transfer()->Load(path);
    }
    EndDialog(0);
}

void LoadSaveSelector::OnSave(wxCommandEvent&)
{
    const wxString notSaved = _(L"设置文件未保存。");
    if (!Refused(notSaved)) {
        const wxString chosen = SelectFile(_(L"选择目标文件 "), wxString(), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        const wxString path = SavePathFor(chosen);
        if (chosen.empty()) {
            // Cancelled.
        } else if (path.empty()) {
            ShowNotDone(this, notSaved, _(L"文件名不能为空，也不能含有 * 或 ?。"));
        } else if (path != chosen && wxFileName::Exists(path) &&
                   wxMessageBox(wxString::Format(_(L"文件 %s 已存在，要替换它吗？"), path), _(L"保存 "),
                                wxYES_NO | wxICON_QUESTION, this) != wxYES) {
            // The selector asked about the name typed, not the one with ".xse".
        } else if (!Refused(notSaved)) {
            Transfer()->Save(path);
        }
    }
    EndDialog(0);
}

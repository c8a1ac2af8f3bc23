#include "GuZhangMa.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/translation.h>
#include <wx/wupdlock.h>

#include "Controller.h"
#include "ReadyCheck.h"

namespace
{
constexpr int kColumnWidth = 250;
// Two rows: with the live area below, the three lists share what the
// notebook of the 850 x 620 window leaves, and each scrolls.
constexpr int kListMinHeight = 44;

// The column is at least as wide as its longest text (an injector fault
// with all eight numbers is wider than 250).
void FitColumn(wxListCtrl* list)
{
    if (list->GetColumnCount() == 0)
        return;
    list->SetColumnWidth(0, wxLIST_AUTOSIZE);
    list->SetColumnWidth(0, std::max(kColumnWidth, list->GetColumnWidth(0)));
}

// The current list already shows exactly the controller's current faults.
bool ShowsCurrentFaults(wxListCtrl* list, const Controller& c)
{
    const int count = c.GetCurrentFaultCount();
    if (list->GetColumnCount() != 1 || list->GetItemCount() != count)
        return false;
    for (int i = 0; i < count; ++i) {
        if (list->GetItemText(i) != c.GetCurrentFault(i))
            return false;
    }
    return true;
}
}

wxBEGIN_EVENT_TABLE(GuZhangMa, wxPanel)
    EVT_BUTTON(GuZhangMa::ID_ERASE_FAULTS, GuZhangMa::OnEraseFaults)
wxEND_EVENT_TABLE()

GuZhangMa::GuZhangMa(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : wxPanel(parent, id, pos, size, style, "panel"), m_eraseWatch(this, false)
{
    // A given size would also become the page's minimum and push the live
    // area out of the window; the sizer decides.
    SetMinSize(wxDefaultSize);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto addBox = [&](const wxString& title, wxStaticBox*& box, wxListCtrl*& list) {
        box = new wxStaticBox(this, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, 0, "groupBox");
        auto* boxSizer = new wxStaticBoxSizer(box, wxVERTICAL);
        list = new wxListCtrl(box, wxID_ANY, wxDefaultPosition, wxSize(390, kListMinHeight),
                              wxLC_REPORT | wxLC_NO_HEADER | wxSUNKEN_BORDER, wxDefaultValidator,
                              "listCtrl");
        list->SetMinSize(wxSize(390, kListMinHeight));
        boxSizer->Add(list, wxSizerFlags(1).Expand().Border(wxALL, 2));
        sizer->Add(boxSizer, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT | wxTOP, 4));
    };
    addBox(wxString(L"当前故障"), m_currentBox, m_currentList);
    addBox(wxString(L"警告"), m_warningBox, m_warningList);
    addBox(wxString(L"已存故障"), m_storedBox, m_storedList);

    m_eraseButton = new wxButton(this, ID_ERASE_FAULTS, _(L"擦除故障"), wxDefaultPosition, wxDefaultSize, 0,
                                 wxDefaultValidator, "button");
    m_signalCheck = new wxCheckBox(this, ID_SIGNAL_CHECK, _(L"信号连接错误"), wxDefaultPosition, wxDefaultSize,
                                   0, wxDefaultValidator, "check");
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(m_eraseButton, wxSizerFlags().CenterVertical());
    row->AddSpacer(16);
    row->Add(m_signalCheck, wxSizerFlags().CenterVertical());
    sizer->Add(row, wxSizerFlags().Border(wxALL, 4));

    m_currentList->SetTextColour(*wxRED);
    m_storedList->SetTextColour(*wxRED);

    SetSizer(sizer);
    Layout();
}

GuZhangMa::~GuZhangMa()
{
    if (theController)
        theController->RemoveObserver(this);
}

void GuZhangMa::OnAttach()
{
    if (theController)
        theController->AddObserver(this);
}

void GuZhangMa::OnControllerData()
{
    const Controller* c = theController;
    if (!c || ShowsCurrentFaults(m_currentList, *c))
        return;
    // Ten frames a second mostly bring the same faults; rebuilding those
    // would flicker and lose the selection.
    wxWindowUpdateLocker noUpdates(m_currentList);
    m_currentList->ClearAll();
    m_currentList->InsertColumn(0, _(L"故障"), wxLIST_FORMAT_LEFT, kColumnWidth);
    for (int i = 0; i < c->GetCurrentFaultCount(); ++i)
        m_currentList->InsertItem(i, c->GetCurrentFault(i));
    FitColumn(m_currentList);
}

void GuZhangMa::OnParametersLoaded()
{
    if (!theController)
        return;
    ShowStoredFaults();

    // Only the frame read behind the erase tells what the ECU did.
    if (!m_eraseAwaited || StillAwaited(CMD_ERASE_FAULTS, this))
        return;
    m_eraseAwaited = false;
    const int count = theController->GetStoredFaultCount();
    if (count == 0)
        m_eraseWatch.Finish(_(L"故障已擦除。"));
    else
        m_eraseWatch.Finish(wxString::Format(_(L"故障未擦除：ECU仍存有 %d 个故障。"), count), true);
}

void GuZhangMa::ShowStoredFaults()
{
    const Controller* c = theController;
    m_storedList->ClearAll();
    const int count = c->GetStoredFaultCount();
    if (count > 0) {
        m_storedList->InsertColumn(0, _(L"错误"), wxLIST_FORMAT_LEFT, kColumnWidth);
        for (int i = 0; i < c->GetStoredFaultCount(); ++i)
            m_storedList->InsertItem(i, c->GetStoredFault(i));
        FitColumn(m_storedList);
        Refresh(true);
    }
}

void GuZhangMa::OnEraseFaults(wxCommandEvent&)
{
    // Queued while not ready, it could go out minutes later; a reset would
    // drop it while the page looked erased.
    const EcuAccess access = AskEcuAccess(this, EcuPurpose::SendCommand, _(L"故障未擦除。"));
    if (!Allows(access))
        return;
    theController->EraseFaults();
    if (access == EcuAccess::Demo) {
        // Only the demo's list is gone; the controller said that no ECU got it.
        ShowStoredFaults();
        return;
    }
    theController->RequestParameters();
    m_eraseAwaited = true;
    // The list stays as the ECU last reported it until the answer.
    m_eraseWatch.Start(_(L"正在擦除故障…"), [this]() {
        m_eraseAwaited = false;
        return _(L"故障擦除未确认：ECU没有应答。");
    });
}

#ifndef QUENVAR_SERIALPORTDIALOG_H
#define QUENVAR_SERIALPORTDIALOG_H

#include <string>
#include <vector>

#include <wx/dialog.h>

class SerialPortList;
class wxButton;
class wxChoice;

// Lets the user pick the serial port to connect to. Use:
//   SerialPortDialog dialog(nullptr, wxID_ANY, "选择端口", pos);
//   dialog.FillPortList(currentIndex);
//   if (dialog.ShowModal() == SerialPortDialog::RESULT_CONNECT)
//       open dialog.GetChosenName() (a device path such as /dev/ttyUSB0),
//       remember dialog.GetChosenIndex();
// Any other result (close box, Escape, connect with nothing selected) is a
// cancel: leave everything as it was.
class SerialPortDialog : public wxDialog
{
public:
    enum
    {
        ID_CONNECT = 9001,    // the connect button
        RESULT_CONNECT = 82   // ShowModal's result when a port was chosen
    };

    SerialPortDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                     const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                     long style = wxDEFAULT_DIALOG_STYLE);

    // Lists the machine's serial devices, selects row 0, then row preselected
    // unless it is -1 (an index past the rows leaves none selected). A listing
    // that finds ports also renews theController->m_portNames.
    void FillPortList(int preselected);
    // The same from a given listing (tests point one at a fake sysfs tree).
    void FillPortList(int preselected, const SerialPortList& ports);
    // The same from device paths already listed.
    void FillPortList(int preselected, const std::vector<std::string>& devices);

    // Relabels the connect button and refits the dialog around it.
    void SetConnectLabel(const wxString& label);

    // Valid after RESULT_CONNECT: the chosen row and its text (the device path).
    int GetChosenIndex() const { return m_chosenIndex; }
    const wxString& GetChosenName() const { return m_chosenName; }

    wxChoice* GetPortList() const { return m_portList; }
    wxButton* GetConnectButton() const { return m_connectButton; }

    // Connect button: ends the dialog with RESULT_CONNECT and the selected
    // row, or as a cancel when no row is selected.
    virtual void OnConnect(wxCommandEvent& event);

private:
    void Refit();

    int m_chosenIndex = -1;
    wxChoice* m_portList = nullptr;
    wxButton* m_connectButton = nullptr;
    wxString m_chosenName;

    wxDECLARE_EVENT_TABLE();
};

#endif

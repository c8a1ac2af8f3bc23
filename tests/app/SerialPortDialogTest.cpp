#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <stdlib.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/timer.h>

#include "Controller.h"
#include "GuiTest.h"
#include "SerialPortDialog.h"
#include "Screenshot.h"
#include "SerialPortList.h"

namespace fs = std::filesystem;

namespace
{
// A fake /sys/class/tty: three real ports, an empty UART slot and a console.
class FakeSysfs
{
public:
    FakeSysfs()
    {
        char pattern[] = "/tmp/quenvar-ports-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made)
            throw std::runtime_error("cannot make a temporary folder");
        m_root = made;
        Port("ttyUSB0", -1);
        Port("ttyS1", 4);
        Port("ttyS0", 0); // no chip in the slot
        Port("ttyACM0", -1);
        fs::create_directories(m_root / "tty0"); // a console: no device link
    }
    ~FakeSysfs() { fs::remove_all(m_root); }

    std::string Root() const { return m_root.string(); }

private:
    void Port(const std::string& name, int type)
    {
        fs::create_directories(m_root / name / "device");
        if (type >= 0)
            std::ofstream(m_root / name / "type") << type << "\n";
    }

    fs::path m_root;
};

class SerialPortDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_assertions = guitest::AssertionCount();
        m_dialog = new SerialPortDialog(nullptr, wxID_ANY, L"选择端口", wxPoint(20, 32));
    }
    void TearDown() override
    {
        m_dialog->Destroy();
        guitest::ProcessPendingEvents();
        EXPECT_EQ(m_assertions, guitest::AssertionCount());
    }

    std::vector<wxString> Rows() const
    {
        std::vector<wxString> rows;
        for (unsigned i = 0; i < m_dialog->GetPortList()->GetCount(); ++i)
            rows.push_back(m_dialog->GetPortList()->GetString(i));
        return rows;
    }

    // Runs the dialog modally and presses its connect button from inside the
    // modal loop; a fallback timer ends a loop the button failed to end.
    int RunAndConnect()
    {
        wxTimer fallback;
        fallback.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            if (m_dialog->IsModal())
                m_dialog->EndModal(wxID_ABORT);
        });
        fallback.StartOnce(5000);
        wxTheApp->CallAfter([this] {
            wxCommandEvent click(wxEVT_BUTTON, SerialPortDialog::ID_CONNECT);
            click.SetEventObject(m_dialog->GetConnectButton());
            m_dialog->GetConnectButton()->GetEventHandler()->ProcessEvent(click);
        });
        const int result = m_dialog->ShowModal();
        fallback.Stop();
        return result;
    }

    // Both controls inside the dialog, side by side, each at least as wide
    // as its text needs.
    void ExpectTidy() const
    {
        const wxRect client(m_dialog->GetClientSize());
        const wxRect list = m_dialog->GetPortList()->GetRect();
        const wxRect button = m_dialog->GetConnectButton()->GetRect();
        EXPECT_TRUE(client.Contains(list));
        EXPECT_TRUE(client.Contains(button));
        EXPECT_LT(list.GetRight(), button.GetLeft());
        EXPECT_GE(list.width, m_dialog->GetPortList()->GetBestSize().x);
        EXPECT_GE(button.width, m_dialog->GetConnectButton()->GetBestSize().x);
        EXPECT_GE(button.height, m_dialog->GetConnectButton()->GetBestSize().y);
    }

    FakeSysfs m_sysfs;
    SerialPortDialog* m_dialog = nullptr;
    int m_assertions = 0;
};
}

TEST_F(SerialPortDialogTest, ListsTheSerialDevicesAsPathsAndPreselects)
{
    const SerialPortList ports(m_sysfs.Root(), "/dev");
    m_dialog->FillPortList(-1, ports);
    const std::vector<wxString> expected = {"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyUSB0"};
    EXPECT_EQ(expected, Rows());
    EXPECT_EQ(0, m_dialog->GetPortList()->GetSelection());

    m_dialog->FillPortList(2, ports);
    EXPECT_EQ(expected, Rows()) << "a refill must replace the rows, not add to them";
    EXPECT_EQ(2, m_dialog->GetPortList()->GetSelection());

    m_dialog->FillPortList(3, ports);
    EXPECT_EQ(wxNOT_FOUND, m_dialog->GetPortList()->GetSelection());
    m_dialog->FillPortList(-7, ports);
    EXPECT_EQ(wxNOT_FOUND, m_dialog->GetPortList()->GetSelection());

    m_dialog->FillPortList(-1, SerialPortList(m_sysfs.Root() + "/missing", "/dev"));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(wxNOT_FOUND, m_dialog->GetPortList()->GetSelection());
}

TEST_F(SerialPortDialogTest, ListingRenewsTheControllersPortNamesOnlyWhenItFindsPorts)
{
    Controller controller;
    Controller* const saved = theController;
    theController = &controller;
    controller.m_portNames = {"/dev/stale"};

    m_dialog->FillPortList(-1, SerialPortList(m_sysfs.Root() + "/missing", "/dev"));
    EXPECT_EQ(std::vector<std::string>{"/dev/stale"}, controller.m_portNames);

    m_dialog->FillPortList(-1, SerialPortList(m_sysfs.Root(), "/dev"));
    const std::vector<std::string> expected = {"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyUSB0"};
    EXPECT_EQ(expected, controller.m_portNames);
    theController = saved;
}

TEST_F(SerialPortDialogTest, ConnectWithARowSelectedEndsWith82AndThatDevice)
{
    m_dialog->FillPortList(-1, SerialPortList(m_sysfs.Root(), "/dev"));
    m_dialog->GetPortList()->SetSelection(2);
    EXPECT_EQ(-1, m_dialog->GetChosenIndex());
    EXPECT_TRUE(m_dialog->GetChosenName().empty());

    EXPECT_EQ(SerialPortDialog::RESULT_CONNECT, RunAndConnect());
    EXPECT_EQ(82, SerialPortDialog::RESULT_CONNECT);
    EXPECT_EQ(2, m_dialog->GetChosenIndex());
    EXPECT_EQ("/dev/ttyUSB0", m_dialog->GetChosenName());
}

TEST_F(SerialPortDialogTest, ConnectWithNothingSelectedIsACancel)
{
    // No ports at all.
    m_dialog->FillPortList(-1, std::vector<std::string>());
    EXPECT_EQ(wxID_CANCEL, RunAndConnect());
    EXPECT_EQ(-1, m_dialog->GetChosenIndex());
    EXPECT_TRUE(m_dialog->GetChosenName().empty());

    // Ports, but the preselection pointed past them.
    m_dialog->FillPortList(3, SerialPortList(m_sysfs.Root(), "/dev"));
    EXPECT_EQ(wxID_CANCEL, RunAndConnect());
    EXPECT_EQ(-1, m_dialog->GetChosenIndex());
    EXPECT_TRUE(m_dialog->GetChosenName().empty());
}

TEST_F(SerialPortDialogTest, ControlsFitSideBySideForLongPathsAndRelabelling)
{
    EXPECT_EQ("dialog", m_dialog->GetName());
    EXPECT_EQ("choice", m_dialog->GetPortList()->GetName());
    EXPECT_EQ(SerialPortDialog::ID_CONNECT, m_dialog->GetConnectButton()->GetId());
    EXPECT_EQ(m_dialog->GetConnectButton(), m_dialog->FindWindow(9001));
    EXPECT_EQ(L"PC通信连接", m_dialog->GetConnectButton()->GetLabel());

    // As the main window's port tool shows it.
    m_dialog->FillPortList(2, SerialPortList(m_sysfs.Root(), "/dev"));
    m_dialog->SetConnectLabel(L"选择端口");
    EXPECT_EQ(L"选择端口", m_dialog->GetConnectButton()->GetLabel());
    m_dialog->Show();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_dialog->IsShownOnScreen(); }));
    ExpectTidy();
    EXPECT_TRUE(SaveScreenshotIfAsked(m_dialog, "port-dialog.png"));

    m_dialog->FillPortList(
        0, std::vector<std::string>{"/dev/ttyS0", "/dev/serial/by-id/usb-Quenvar_ECU_Link_0001-if00-port0"});
    m_dialog->SetConnectLabel(L"PC通信连接");
    guitest::ProcessPendingEvents();
    ExpectTidy();
}

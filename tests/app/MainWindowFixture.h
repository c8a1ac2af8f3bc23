#ifndef QUENVAR_TESTS_MAINWINDOWFIXTURE_H
#define QUENVAR_TESTS_MAINWINDOWFIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <wx/event.h>
#include <wx/string.h>

#include "Controller.h"
#include "GuiTest.h"
#include "MyFrame.h"
#include "wxIOBase.h"

// A serial port that records what is written and can be told to be open.
class RecordingPort : public wxIOBase
{
public:
    explicit RecordingPort(bool open) : m_open(open) {}

    int Close() override
    {
        m_open = false;
        ++m_closes;
        return 0;
    }
    int Open(const char*, SerialSettings*) override
    {
        m_open = true;
        return 0;
    }
    bool IsOpen() override { return m_open; }
    int Ioctl(int code, void* arg) override
    {
        if (code != SERIAL_BYTES_WAITING)
            return -1;
        *static_cast<int*>(arg) = 0;
        return 0;
    }
    int Read(char*, std::size_t) override { return 0; }
    int Write(const char* buf, std::size_t len) override
    {
        if (!m_open)
            return -1;
        m_written.append(buf, len);
        return static_cast<int>(len);
    }

    bool m_open;
    int m_closes = 0;
    std::string m_written;
};

// Each test gets its own main window (and with it the one controller) and a
// temporary working folder for "Oskat.ini".
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quenvar-frame-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_assertions = guitest::AssertionCount();
    }

    void TearDown() override
    {
        delete m_frame;
        m_frame = nullptr;
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
        EXPECT_EQ(guitest::AssertionCount(), m_assertions);
    }

    wxString ConfigPath() const { return wxString((m_dir / "Oskat.ini").string()); }

    MyFrame* MakeFrame()
    {
        m_frame = new MyFrame(nullptr, wxID_ANY, "Quenvar test", wxPoint(0, 0), wxSize(850, 620),
                              ConfigPath());
        return m_frame;
    }

    // Replaces the controller's port by a recording one and returns it.
    RecordingPort* InstallPort(bool open)
    {
        auto port = std::make_unique<RecordingPort>(open);
        RecordingPort* raw = port.get();
        theController->SetPort(std::move(port));
        return raw;
    }

    // Fires a command event at a window as the toolkit would.
    static void Fire(wxWindow* target, wxEventType type, int id)
    {
        wxCommandEvent event(type, id);
        event.SetEventObject(target);
        target->GetEventHandler()->ProcessEvent(event);
    }

    std::filesystem::path m_dir;
    MyFrame* m_frame = nullptr;
    int m_assertions = 0;
};

#endif

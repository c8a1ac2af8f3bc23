// One copy of the program per user.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <wx/arrstr.h>
#include <wx/snglinst.h>
#include <wx/utils.h>

#include "GuiTest.h"
#include "MyApp.h"

namespace
{
struct ProbeResult
{
    long exitCode;
    wxString errors;
};

// The lock is per process, so a second copy has to be a second process.
ProbeResult RunProbe(const wxString& user, const wxString& dir)
{
    wxArrayString output;
    wxArrayString errors;
    const wxString command =
        wxString::Format("\"%s\" \"%s\" \"%s\"", INSTANCE_LOCK_PROBE, user, dir);
    const long code = wxExecute(command, output, errors, wxEXEC_SYNC | wxEXEC_NODISABLE);
    wxString text;
    for (const wxString& line : errors)
        text += line + "\n";
    return {code, text};
}
}

TEST(MyAppTest, SecondCopyOfTheSameUserIsRefused)
{
    char pattern[] = "/tmp/quenvar-lock-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const wxString dir(pattern);

    EXPECT_EQ(MyApp::InstanceLockName("tech"), "MyApp-tech");

    std::unique_ptr<wxSingleInstanceChecker> held(MyApp::AcquireInstanceLock("tech", dir));
    ASSERT_TRUE(held);

    const ProbeResult same = RunProbe("tech", dir);
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_NE(same.errors.Find("Program already running,aborting."), wxNOT_FOUND)
        << same.errors;
    // The first copy keeps its lock.
    EXPECT_FALSE(held->IsAnotherRunning());

    const ProbeResult other = RunProbe("apprentice", dir);
    EXPECT_EQ(other.exitCode, 0) << other.errors;

    held.reset();
    const ProbeResult again = RunProbe("tech", dir);
    EXPECT_EQ(again.exitCode, 0) << again.errors;

    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
}

// The tests of this program run on a desktop set to DESKTOP_LOCALE, whatever
// the caller's, in the locale the program takes from it at start.

#include <gtest/gtest.h>

#include <cstdlib>

#include "MyApp.h"

namespace
{
struct DesktopLocale : ::testing::Environment
{
    void SetUp() override
    {
        setenv("LANG", DESKTOP_LOCALE, 1);
        unsetenv("LC_ALL");
        unsetenv("LANGUAGE");
        MyApp::UseUserLocale();
    }
};

const ::testing::Environment* const kDesktopLocale = ::testing::AddGlobalTestEnvironment(new DesktopLocale);
}

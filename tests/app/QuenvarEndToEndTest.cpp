// The real program against a simulated ECU on a pseudo-terminal: started
// under the display in a scratch folder whose "Oskat.ini" names the pty.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "SimulatedEcu.h"

namespace
{
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Seen
{
    Clock::time_point when;
    SimulatedEcu::Bytes frame;
};

class QuenvarRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs a display (run under xvfb-run)";
        char pattern[] = "/tmp/quenvar-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        ASSERT_TRUE(m_ecu.IsOpen());
        // The program reads in its own process, so delivery cannot be watched.
        m_ecu.SetWaitForDelivery(false);
        std::ofstream(m_dir / "Oskat.ini") << "Port=" << m_ecu.SlavePath() << "\n";
    }

    void TearDown() override
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (HasFailure() && !m_dir.empty()) {
            std::ifstream log(m_dir / "quenvar.log");
            std::cerr << "--- program output ---\n" << log.rdbuf() << "\n";
        }
        std::error_code ignored;
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir, ignored);
    }

    void Start()
    {
        m_pid = fork();
        ASSERT_GE(m_pid, 0);
        if (m_pid == 0) {
            // Own home too: the per-user lock lives there.
            if (chdir(m_dir.c_str()) != 0)
                _exit(126);
            setenv("HOME", m_dir.c_str(), 1);
            const int fd = open("quenvar.log", O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd >= 0) {
                dup2(fd, 1);
                dup2(fd, 2);
            }
            execl(QUENVAR_BINARY, QUENVAR_BINARY, static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    // Asks the program's main window to close, as a window manager's close
    // button does; false when no window of the program was found.
    bool CloseWindow()
    {
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            return false;
        const Window window = FindWindowOf(display, DefaultRootWindow(display));
        if (window) {
            XEvent event = {};
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(display, window, False, NoEventMask, &event);
            XFlush(display);
        }
        XCloseDisplay(display);
        return window != 0;
    }

    // The first shown window below parent whose _NET_WM_PID is the program's.
    Window FindWindowOf(Display* display, Window parent)
    {
        const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
        Window root = 0;
        Window up = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, parent, &root, &up, &children, &count))
            return 0;
        Window found = 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            Atom type = 0;
            int format = 0;
            unsigned long items = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                                   &format, &items, &after, &data) == Success &&
                data) {
                XWindowAttributes attributes;
                // GTK's hidden client-leader window carries the pid too.
                if (items == 1 &&
                    *reinterpret_cast<unsigned long*>(data) == static_cast<unsigned long>(m_pid) &&
                    XGetWindowAttributes(display, children[i], &attributes) &&
                    attributes.map_state == IsViewable)
                    found = children[i];
                XFree(data);
            }
            if (!found)
                found = FindWindowOf(display, children[i]);
        }
        if (children)
            XFree(children);
        return found;
    }

    // Waits for the program to end; its exit status, or -1 at the deadline.
    int WaitExit(Clock::duration deadline)
    {
        const auto end = Clock::now() + deadline;
        while (Clock::now() < end) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            Serve(20ms);
        }
        return -1;
    }

    bool Alive()
    {
        int status = 0;
        return m_pid > 0 && waitpid(m_pid, &status, WNOHANG) == 0;
    }

    // Serves the ECU for a while, recording each request with its time.
    void Serve(Clock::duration span)
    {
        const auto end = Clock::now() + span;
        while (Clock::now() < end) {
            pollfd pfd = {m_ecu.MasterFd(), POLLIN, 0};
            poll(&pfd, 1, 10);
            m_ecu.Service();
            for (const SimulatedEcu::Bytes& frame : m_ecu.Received())
                m_seen.push_back({Clock::now(), frame});
            m_ecu.ClearReceived();
        }
    }

    // Serves until a request with the command arrives; false at the deadline.
    bool ServeUntil(unsigned char command, Clock::duration deadline)
    {
        const auto end = Clock::now() + deadline;
        const std::size_t from = m_seen.size();
        while (Clock::now() < end) {
            Serve(20ms);
            for (std::size_t i = from; i < m_seen.size(); ++i) {
                if (m_seen[i].frame.size() > 1 && m_seen[i].frame[1] == command)
                    return true;
            }
        }
        return false;
    }

    int Count(unsigned char command, Clock::time_point from,
              Clock::time_point to = Clock::time_point::max()) const
    {
        int n = 0;
        for (const Seen& s : m_seen) {
            if (s.when >= from && s.when < to && s.frame.size() > 1 && s.frame[1] == command)
                ++n;
        }
        return n;
    }

    std::filesystem::path m_dir;
    SimulatedEcu m_ecu;
    pid_t m_pid = -1;
    std::vector<Seen> m_seen;
};
}

TEST_F(QuenvarRun, PollsLiveDataAndRidesOutBadSpells)
{
    Start();
    // A sanitizer build takes a while to show its window.
    ASSERT_TRUE(ServeUntil(12, 60s)) << "no request from the program";
    ASSERT_FALSE(m_seen.empty());
    EXPECT_EQ(m_seen.front().frame, (SimulatedEcu::Bytes{0xAA, 0x0C, 0x01, 0xB7}));

    // Live data about ten times a second (one request every second tick).
    ASSERT_TRUE(ServeUntil(1, 5s));
    auto from = Clock::now();
    Serve(3s);
    const int live = Count(1, from);
    std::cout << "live-data requests in 3 s: " << live << "\n";
    EXPECT_GE(live, 15);
    EXPECT_LE(live, 40);
    EXPECT_TRUE(Alive());

    // Corrupt replies and line noise: the program resends and carries on.
    m_ecu.CorruptNextReplies(6);
    m_ecu.SendRaw({0x00, 0x13, 0x55, 0xFF, 0x01, 0x39, 0x0C, 0x7E, 0x80, 0x00});
    Serve(1s);
    from = Clock::now();
    Serve(2s);
    EXPECT_GE(Count(1, from), 10);
    EXPECT_TRUE(Alive());

    // A short silence (fewer than fourteen empty reads): the unanswered
    // request keeps going out, and live data resumes when the ECU answers.
    // It starts just after a history write (every 50 ticks) is done with:
    // that 258-byte request rightly goes out only as often as the line can
    // carry it.
    ASSERT_TRUE(ServeUntil(59, 20s));
    ASSERT_TRUE(ServeUntil(1, 5s));
    m_ecu.SetSilent(true);
    from = Clock::now();
    Serve(400ms);
    EXPECT_GE(static_cast<int>(m_seen.size()), 1);
    EXPECT_GE(Count(1, from) + Count(59, from), 3);
    m_ecu.SetSilent(false);
    from = Clock::now();
    Serve(2s);
    EXPECT_GE(Count(1, from), 10);
    EXPECT_TRUE(Alive());

    // A long silence: the link is given up and the program goes quiet, but
    // keeps running.
    m_ecu.SetSilent(true);
    const auto silence = Clock::now();
    Serve(3s);
    const auto quiet = silence + 2s;
    EXPECT_EQ(Count(1, quiet) + Count(12, quiet) + Count(59, quiet), 0);
    EXPECT_GE(Count(1, silence), 5);
    EXPECT_TRUE(Alive());
}

TEST_F(QuenvarRun, ClosingTheWindowSavesThePortAndEnds)
{
    {
        std::ofstream(m_dir / "Oskat.ini") << "Port=" << m_ecu.SlavePath() << "\n[Old]\nKey=1\n";
    }
    Start();
    ASSERT_TRUE(ServeUntil(1, 60s)) << "the program never asked for live data";
    ASSERT_TRUE(CloseWindow());
    EXPECT_EQ(WaitExit(20s), 0);

    std::ifstream in(m_dir / "Oskat.ini");
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "Port=" + m_ecu.SlavePath() + "\n");
}

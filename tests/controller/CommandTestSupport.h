#ifndef QUENVAR_TESTS_COMMANDTESTSUPPORT_H
#define QUENVAR_TESTS_COMMANDTESTSUPPORT_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <wx/log.h>
#include <wx/string.h>

#include "Controller.h"

namespace cmdtest
{

using Bytes = std::vector<unsigned char>;

// Records what the controller asks of the program around it.
class RecordingHost : public ControllerHost
{
public:
    void StopPollTimer() override { ++m_stops; }
    void StartPollTimer() override { ++m_starts; }
    void ShowMessage(const wxString& text, const wxString& caption) override
    {
        m_messages.emplace_back(text, caption);
    }
    void UpdateUI() override { ++m_updates; }
    void Sleep(int) override {}

    int m_stops = 0;
    int m_starts = 0;
    int m_updates = 0;
    std::vector<std::pair<wxString, wxString>> m_messages;
};

// Collects error-log lines for the life of the object.
class LogCapture : public wxLog
{
public:
    LogCapture() : m_previous(wxLog::SetActiveTarget(this)) {}
    ~LogCapture() override { wxLog::SetActiveTarget(m_previous); }

    std::vector<wxString> m_errors;

protected:
    void DoLogTextAtLevel(wxLogLevel level, const wxString& text) override
    {
        if (level <= wxLOG_Error)
            m_errors.push_back(text);
    }

private:
    wxLog* m_previous;
};

// A request frame as the ECU expects it: AA, command, data, 8-bit sum.
inline Bytes RequestFrame(unsigned char command, const Bytes& data)
{
    Bytes frame;
    frame.reserve(data.size() + 3);
    frame.push_back(0xAA);
    frame.push_back(command);
    unsigned sum = 0xAA + command;
    for (unsigned char b : data)
    {
        frame.push_back(b);
        sum += b;
    }
    frame.push_back(static_cast<unsigned char>(sum));
    return frame;
}

inline Bytes ToBytes(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

// The queued frames in queue order.
inline std::vector<Bytes> QueuedFrames(const Controller& c)
{
    std::vector<Bytes> out;
    for (const Request& r : c.m_requestQueue)
        out.push_back(ToBytes(r.m_bytes));
    return out;
}

// Data bytes of a frame (between command and sum).
inline Bytes DataOf(const Bytes& frame)
{
    if (frame.size() < 3)
        return {};
    return Bytes(frame.begin() + 2, frame.end() - 1);
}

// A fresh folder under the system's temporary directory, removed afterwards.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quenvar-cmd-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data()))
            m_path = made;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool Ok() const { return !m_path.empty(); }
    std::filesystem::path Path(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& Root() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline wxString WxPath(const std::filesystem::path& path)
{
    return wxString::FromUTF8(path.string());
}

// A recognisable settings block: no byte equals its neighbour.
inline Bytes PatternBlock(std::size_t size, unsigned seed)
{
    Bytes block(size);
    for (std::size_t i = 0; i < size; ++i)
        block[i] = static_cast<unsigned char>(i * 7 + seed);
    return block;
}

// car.xse in dir, holding a settings block of pattern seed; its path.
inline wxString SettingsFileIn(const TempDir& dir, unsigned seed)
{
    WriteFile(dir.Path("car.xse"), PatternBlock(554, seed));
    return WxPath(dir.Path("car.xse"));
}

} // namespace cmdtest

#endif

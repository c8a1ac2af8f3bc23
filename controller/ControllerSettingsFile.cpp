// Settings files (*.xse): the raw 554-byte settings block of a parameter
// frame. Loading sends the file to the ECU and reads the parameters back;
// saving writes the block of the next parameter frame.
#include "Controller.h"

#include <string>

#include <wx/file.h>
#include <wx/log.h>
#include <wx/translation.h>

#include "ParamPacket.h"

namespace
{

wxString Translated(const char* utf8)
{
    return wxGetTranslation(wxString::FromUTF8(utf8));
}

// The whole file, only when it is exactly one settings block. Anything
// shorter, longer or unreadable must never reach the ECU in part.
bool ReadSettingsFile(const wxString& path, std::string& block)
{
    // The message box below is the one report; no second one from the file layer.
    wxLogNull quiet;
    wxFile file;
    if (!wxFile::Exists(path) || !file.Open(path, wxFile::read))
        return false;
    if (file.Length() != static_cast<wxFileOffset>(kSettingsBlockSize))
        return false;
    block.assign(kSettingsBlockSize, '\0');
    std::size_t got = 0;
    while (got < kSettingsBlockSize)
    {
        const ssize_t n = file.Read(&block[got], kSettingsBlockSize - got);
        if (n == wxInvalidOffset || n == 0)
            return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes beside the target and renames over it, so a failed or interrupted
// save leaves the old file as it was.
bool WriteSettingsFile(const wxString& path, const unsigned char* block)
{
    wxTempFile out;
    if (!out.Open(path))
        return false;
    if (!out.Write(block, kSettingsBlockSize) || !out.Flush())
    {
        out.Discard();
        return false;
    }
    return out.Commit();
}

} // namespace

void Controller::LoadSettingsFile(const wxString& path)
{
    std::string block;
    if (!ReadSettingsFile(path, block))
    {
        const wxString text = Translated("无效的文件设置 ");
        const wxString caption = Translated("错误 ");
        if (m_host)
            m_host->ShowMessage(text, caption);
        else
            wxLogError("%s", text);
        return;
    }

    // The parameter read behind the block must answer for the new settings,
    // not for requests queued before them.
    m_requestQueue.clear();
    m_awaitingReply = 0;
    m_request.Build(CMD_WRITE_SETTINGS, block);
    QueueRequest();
    RequestParameters();
}

void Controller::WritePendingSettingsFile(const unsigned char* block554)
{
    if (m_saveFileName.empty())
        return;
    // One save request writes at most one file, whatever happens to it.
    const wxString path = m_saveFileName;
    m_saveFileName.clear();
    if (!block554)
        return;
    if (!WriteSettingsFile(path, block554))
        wxLogError(Translated("设置文件保存失败: %s"), path);
}

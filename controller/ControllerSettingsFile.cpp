// Settings files (*.xse): the raw 554-byte settings block of a parameter
// frame. Loading sends the file to the ECU and reads the parameters back;
// saving writes the block of the next parameter frame.
#include "Controller.h"

#include <cerrno>
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

// Keeps the file layer quiet meanwhile and notes the system's error code it
// reports: its own words are the toolkit's English, and the one report of a
// failed save says why in the program's.
class CollectedErrors : public wxLog
{
public:
    CollectedErrors() : m_previous(wxLog::SetActiveTarget(this)) {}
    ~CollectedErrors() override { wxLog::SetActiveTarget(m_previous); }
    CollectedErrors(const CollectedErrors&) = delete;
    CollectedErrors& operator=(const CollectedErrors&) = delete;

    // The first system error reported; 0 when none was.
    int m_systemError = 0;

protected:
    void DoLogRecord(wxLogLevel level, const wxString&, const wxLogRecordInfo& info) override
    {
        wxUIntPtr code = 0;
        if (level <= wxLOG_Warning && m_systemError == 0 && info.GetNumValue(wxLOG_KEY_SYS_ERROR_CODE, &code))
            m_systemError = static_cast<int>(code);
    }

private:
    wxLog* m_previous;
};

// Why a file could not be written, from the system's error code.
wxString SaveFailureReason(int code)
{
    const char* reason = nullptr;
    switch (code)
    {
    case ENOENT:
        reason = "文件夹不存在";
        break;
    case ENOTDIR:
        reason = "路径中有一项不是文件夹";
        break;
    case EACCES:
    case EPERM:
        reason = "没有写入这个文件夹的权限";
        break;
    case EROFS:
        reason = "文件系统是只读的";
        break;
    case ENOSPC:
    case EDQUOT:
        reason = "磁盘空间不足";
        break;
    case ENAMETOOLONG:
        reason = "文件名太长";
        break;
    case EISDIR:
        reason = "同名的是一个文件夹";
        break;
    default:
        break;
    }
    if (code == 0)
        return Translated("原因：未知");
    if (reason)
        return wxString::Format(Translated("原因：%s（系统错误 %d）"), Translated(reason), code);
    // The system's own words, in the language it was set up with.
    return wxString::Format(Translated("原因：系统错误 %d：%s"), code, wxSysErrorMsgStr(code));
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

bool Controller::LoadSettingsFile(const wxString& path)
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
        return false;
    }

    // The parameter read behind the block must answer for the new settings,
    // not for requests queued before them.
    m_requestQueue.clear();
    m_awaitingReply = 0;
    m_request.Build(CMD_WRITE_SETTINGS, block);
    QueueRequest();
    RequestParameters();
    m_loadFileName = path;
    return true;
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
    wxString error;
    {
        CollectedErrors details;
        errno = 0;
        if (!WriteSettingsFile(path, block554))
        {
            const int code = details.m_systemError ? details.m_systemError : errno;
            error = wxString::Format(Translated("设置文件保存失败: %s"), path) + "\n" + SaveFailureReason(code);
        }
    }
    if (m_host)
        m_host->SettingsFileSaved(path, error);
    else if (!error.empty())
        wxLogError("%s", error);
}

void Controller::ConfirmLoadedSettingsFile()
{
    if (m_loadFileName.empty())
        return;
    // A frame read while the block still waits for its answer predates the
    // load; the one asked for behind the block is the answer.
    for (const Request& queued : m_requestQueue)
    {
        if (queued.m_command == CMD_WRITE_SETTINGS)
            return;
    }
    const wxString path = m_loadFileName;
    m_loadFileName.clear();
    if (m_host)
        m_host->SettingsFileLoaded(path);
}

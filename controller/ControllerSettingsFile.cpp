// Settings files (*.xse): the raw 554-byte settings block of a parameter
// frame. Loading sends the file to the ECU and reads the parameters back;
// saving writes the block of the next parameter frame.
#include "Controller.h"

#include <cerrno>
#include <climits>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The file a path names: a symlink is followed to the file it points to,
// which may not exist yet. The link itself must stay.
std::string ResolvedTarget(std::string path)
{
    for (int hops = 0; hops < 40; ++hops)
    {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = readlink(path.c_str(), &link[0], link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size())
            return path;
        link.resize(static_cast<std::size_t>(n));
        const std::size_t slash = path.rfind('/');
        path = link[0] == '/' || slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
    }
    return path;
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size)
    {
        const ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes beside the target and renames over it in one step (rename(2)), so
// a failed or interrupted save leaves the old file whole, never no file.
bool WriteSettingsFile(const wxString& path, const unsigned char* block)
{
    const std::string target = ResolvedTarget(std::string(path.fn_str()));
    struct stat old;
    const bool existed = stat(target.c_str(), &old) == 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt)
    {
        temp = target + wxString::Format(".%ld.%d.tmp", static_cast<long>(getpid()), attempt).ToStdString();
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
    {
        wxLogSysError(Translated("无法创建文件 %s"), wxString(target.c_str(), wxConvFile));
        return false;
    }
    // The new file keeps the old one's permissions.
    bool ok = (!existed || fchmod(fd, old.st_mode & 07777) == 0) && WriteAll(fd, block, kSettingsBlockSize) &&
              fsync(fd) == 0;
    if (!ok)
        wxLogSysError(Translated("无法写入文件 %s"), wxString(target.c_str(), wxConvFile));
    ok = close(fd) == 0 && ok;
    if (ok && rename(temp.c_str(), target.c_str()) != 0)
    {
        wxLogSysError(Translated("无法替换文件 %s"), wxString(target.c_str(), wxConvFile));
        ok = false;
    }
    if (!ok)
        unlink(temp.c_str());
    return ok;
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
    // not for requests queued before them. A reply already under way is
    // still read first: sent on top of it, the block would be asked again.
    m_requestQueue.clear();
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

bool Controller::WithdrawSettingsFile()
{
    if (m_loadFileName.empty())
        return false;
    m_loadFileName.clear();
    // A block no longer queued has been answered: the ECU took it.
    bool wentOut = true;
    for (auto it = m_requestQueue.begin(); it != m_requestQueue.end();)
    {
        const bool block = it->m_command == CMD_WRITE_SETTINGS;
        if (block)
            wentOut = it->m_wire != Request::WIRE_QUEUED;
        // The read behind the block was there to confirm it; one already
        // out is left to its answer.
        if (block || (it->m_command == CMD_READ_PARAMETERS && it->m_wire == Request::WIRE_QUEUED))
            it = m_requestQueue.erase(it);
        else
            ++it;
    }
    return wentOut;
}

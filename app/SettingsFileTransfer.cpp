#include "SettingsFileTransfer.h"

#include <wx/translation.h>
#include <wx/window.h>

#include "Controller.h"
#include "ReadyCheck.h"

SettingsFileTransfer::SettingsFileTransfer(wxWindow* speaker) : m_speaker(speaker), m_watch(speaker, true) {}

wxString SettingsFileTransfer::WhyNot() const
{
    const wxString why = RefusalText(CheckEcuAccess(EcuPurpose::SettingsFile));
    if (!why.empty())
        return why;
    // One transfer at a time: a load empties the queue, and the frame that
    // answers it would write the loaded settings into a waiting save.
    if (m_watch.IsWaiting() || !theController->m_saveFileName.empty() ||
        !theController->m_loadFileName.empty())
        return _(L"上一个设置文件仍在等待ECU的应答。");
    return wxString();
}

bool SettingsFileTransfer::SaidDemo(const wxString& what) const
{
    // The demo's settings are nobody's car: neither sent nor saved.
    if (CheckEcuAccess(EcuPurpose::SettingsFile) != EcuAccess::Demo)
        return false;
    m_watch.Say(what + DemoNotSentText());
    return true;
}

bool SettingsFileTransfer::Load(const wxString& path)
{
    if (SaidDemo(_(L"设置文件未载入。")))
        return false;
    if (!theController || !theController->LoadSettingsFile(path))
        return false;
    m_watch.Start(wxString::Format(_(L"正在载入设置文件 %s …"), path), [path]() {
        // The load is over: nothing of it may reach the ECU after this box.
        const bool wentOut = theController && theController->m_loadFileName == path &&
                             theController->WithdrawSettingsFile();
        if (wentOut)
            return wxString::Format(_(L"设置文件载入未确认：ECU没有应答，可能已载入也可能未载入（%s）。"), path);
        return wxString::Format(_(L"设置文件未载入：ECU没有应答（%s）。"), path);
    });
    return true;
}

void SettingsFileTransfer::Save(const wxString& path)
{
    if (!theController || SaidDemo(_(L"设置文件未保存。")))
        return;
    theController->SetSaveFileName(path);
    theController->RequestParameterBlock(0);
    m_watch.Start(wxString::Format(_(L"正在保存设置文件 %s …"), path), [path]() {
        // No frame came: the name must not wait to write a file later.
        if (theController && theController->m_saveFileName == path)
            theController->SetSaveFileName(wxString());
        return wxString::Format(_(L"设置文件保存失败：ECU没有应答，%s 未写入。"), path);
    });
}

void SettingsFileTransfer::Saved(const wxString& path, const wxString& error)
{
    if (error.empty())
        m_watch.Finish(wxString::Format(_(L"设置文件已保存：%s"), path));
    else
        m_watch.Finish(error, true);
}

void SettingsFileTransfer::ParametersApplied()
{
    // A load is answered by the frame read behind its block.
    if (theController && !theController->m_loadFileName.empty())
        StillAwaited(CMD_WRITE_SETTINGS, m_speaker);
}

void SettingsFileTransfer::Loaded(const wxString& path)
{
    m_watch.Finish(wxString::Format(_(L"设置文件已载入：%s"), path));
}

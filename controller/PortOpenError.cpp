#include "PortOpenError.h"

#include <wx/translation.h>

#include "wxIOBase.h"

wxString PortOpenErrorText(int code, const wxString& device)
{
    const wchar_t* format = nullptr;
    switch (code)
    {
    case 0:
        return wxString();
    case SERIAL_NO_DEVICE:
        format = L"端口 %s 不存在";
        break;
    // On Debian the serial devices belong to the group dialout, which a new
    // user is not in: the commonest first-day failure.
    case SERIAL_ACCESS_DENIED:
        format = L"无权打开端口 %s：请把用户加入dialout组，然后重新登录";
        break;
    case SERIAL_BUSY:
        format = L"端口 %s 被其他程序占用";
        break;
    case SERIAL_BAUD_REFUSED:
        format = L"端口 %s 不支持10000波特率";
        break;
    default:
        format = L"无法打开端口 %s";
        break;
    }
    return wxString::Format(wxGetTranslation(format), device);
}

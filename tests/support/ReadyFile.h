#pragma once
// For the screenshot scripts: a window that has been drawn writes its screen
// rectangle as WxH+X+Y (ImageMagick's crop geometry) to a file, written
// under another name first so that the script never reads half of it.

#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

inline void WriteReadyFile(const wxString& path, const wxRect& rect)
{
    const wxString geometry =
        wxString::Format("%dx%d+%d+%d", rect.width, rect.height, rect.x, rect.y);
    const wxString partial = path + ".part";
    wxFFile file(partial, "w");
    if (file.IsOpened() && file.Write(geometry) && file.Close())
        wxRenameFile(partial, path);
}

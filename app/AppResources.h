#ifndef QUENVAR_APPRESOURCES_H
#define QUENVAR_APPRESOURCES_H

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/string.h>

// The program's images, compiled in and looked up by resource name:
// "ID_LOGOICO" (window icon), "ID_ZPORT", "ID_ZAIRUBAOCUN", "ID_PENZUIJISUAN",
// "ID_ZBAOYANG", "ID_YANSHI", "ID_ZGONGSI" (tool icons). All are 32 x 32.
// An unknown name gives an invalid bitmap or icon (and a debug log line).
wxBitmap LoadAppBitmap(const wxString& name);
wxIcon LoadAppIcon(const wxString& name);

#endif

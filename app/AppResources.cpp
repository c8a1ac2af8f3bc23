#include "AppResources.h"

#include <wx/log.h>

// The images are drawn by scripts/make_icons.py.
#include "resources/id_logoico.xpm"
#include "resources/id_penzuijisuan.xpm"
#include "resources/id_yanshi.xpm"
#include "resources/id_zairubaocun.xpm"
#include "resources/id_zbaoyang.xpm"
#include "resources/id_zgongsi.xpm"
#include "resources/id_zport.xpm"

namespace
{
struct NamedImage
{
    const char* name;
    const char* const* xpm;
};

const NamedImage kImages[] = {
    {"ID_LOGOICO", id_logoico_xpm},
    {"ID_ZPORT", id_zport_xpm},
    {"ID_ZAIRUBAOCUN", id_zairubaocun_xpm},
    {"ID_PENZUIJISUAN", id_penzuijisuan_xpm},
    {"ID_ZBAOYANG", id_zbaoyang_xpm},
    {"ID_YANSHI", id_yanshi_xpm},
    {"ID_ZGONGSI", id_zgongsi_xpm},
};

const char* const* FindImage(const wxString& name)
{
    for (const NamedImage& image : kImages) {
        if (name == image.name)
            return image.xpm;
    }
    wxLogDebug("no image resource named \"%s\"", name);
    return nullptr;
}
}

wxBitmap LoadAppBitmap(const wxString& name)
{
    const char* const* xpm = FindImage(name);
    return xpm ? wxBitmap(xpm) : wxBitmap();
}

wxIcon LoadAppIcon(const wxString& name)
{
    const char* const* xpm = FindImage(name);
    return xpm ? wxIcon(xpm) : wxIcon();
}

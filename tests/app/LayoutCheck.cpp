#include "LayoutCheck.h"

#include <gtest/gtest.h>

#include <vector>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

namespace
{
std::string Name(const wxWindow* w)
{
    const wxRect r = w->GetRect();
    return std::string(wxString::Format("%s \"%s\" (%d,%d %dx%d)", w->GetClassInfo()->GetClassName(),
                                        w->GetLabel(), r.x, r.y, r.width, r.height).utf8_str());
}
}

void ExpectTidyLayout(wxWindow* root, bool intoChildren)
{
    std::vector<wxWindow*> shown;
    for (wxWindow* child : root->GetChildren()) {
        if (!child->IsTopLevel() && child->IsShown())
            shown.push_back(child);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        wxWindow* child = shown[i];
        EXPECT_TRUE(wxRect(root->GetClientSize()).Contains(child->GetRect()))
            << Name(child) << " reaches out of " << Name(root);
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(child->GetRect().Intersects(shown[j]->GetRect()))
                << Name(child) << " overlaps " << Name(shown[j]);
        // Rows keep one height; labels need their height too.
        const wxSize best = child->GetBestSize();
        const bool label = dynamic_cast<wxStaticText*>(child);
        if (label || dynamic_cast<wxButton*>(child) || dynamic_cast<wxChoice*>(child) ||
            dynamic_cast<wxRadioButton*>(child) || dynamic_cast<wxCheckBox*>(child)) {
            EXPECT_TRUE(child->GetSize().x >= best.x && (!label || child->GetSize().y >= best.y))
                << Name(child) << " is cut off";
        }
        if (intoChildren)
            ExpectTidyLayout(child);
    }
}

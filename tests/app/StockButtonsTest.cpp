// GTK's own buttons on a Chinese desktop, once the program has taken its
// locale: a message box's, the file chooser's and the injector dialog's OK.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>

#include "InjectorsDialog.h"

namespace
{
// GTK reached at run time, as the program does: its headers are not needed.
template <class R, class... A>
R Gtk(const char* name, A... args)
{
    return reinterpret_cast<R (*)(A...)>(dlsym(RTLD_DEFAULT, name))(args...);
}

// Appends the text of every label GTK shows inside widget.
void CollectTexts(void* widget, void* texts)
{
    auto isA = [widget](const char* type) {
        return Gtk<int>("g_type_check_instance_is_a", widget, Gtk<unsigned long>(type));
    };
    if (isA("gtk_label_get_type"))
        static_cast<wxArrayString*>(texts)->Add(wxString::FromUTF8(Gtk<const char*>("gtk_label_get_text", widget)));
    else if (isA("gtk_container_get_type"))
        Gtk<void>("gtk_container_forall", widget, &CollectTexts, texts);
}
}

TEST(StockButtons, SpeakTheDesktopsLanguage)
{
    wxArrayString texts;
    wxMessageDialog box(nullptr, "?", "", wxYES_NO | wxCANCEL);
    wxTimer answer;
    // GTK makes the box's dialog as it shows it: read it then, and cancel.
    answer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        CollectTexts(Gtk<void*>("gtk_dialog_get_action_area", box.GetHandle()), &texts);
        Gtk<void>("gtk_dialog_response", box.GetHandle(), -6 /* GTK_RESPONSE_CANCEL */);
    });
    answer.StartOnce(10);
    box.ShowModal();
    wxFileDialog chooser(nullptr, "", "", "", "*.xse", wxFD_SAVE);
    CollectTexts(Gtk<void*>("gtk_dialog_get_action_area", chooser.GetHandle()), &texts);
    InjectorsDialog injectors(nullptr, wxID_ANY, " ");
    CollectTexts(injectors.FindWindow(wxID_OK)->GetHandle(), &texts);

    EXPECT_EQ(texts.size(), 6u) << wxJoin(texts, '|');
    // 取消(C) where the C locale shows Cancel.
    for (const wxString& text : texts)
        EXPECT_TRUE(!text.empty() && text[0] >= 0x4E00) << text << " (scripts/bootstrap generates zh_CN.UTF-8)";
}

#include <gtest/gtest.h>

#include <vector>

#include <wx/richtext/richtextctrl.h>

#include "AboutDialog.h"
#include "GuiTest.h"
#include "MyTextCtrl.h"
#include "Screenshot.h"

namespace
{
class AboutDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_assertions = guitest::AssertionCount();
        m_dialog = new AboutDialog(nullptr, wxID_ANY, wxEmptyString, wxPoint(20, 20));
    }
    void TearDown() override
    {
        m_dialog->Destroy();
        guitest::ProcessPendingEvents();
        EXPECT_EQ(m_assertions, guitest::AssertionCount());
    }

    // The text with no-break spaces read as the blanks they stand for.
    wxString Text() const
    {
        wxString text = m_dialog->GetTextCtrl()->GetValue();
        text.Replace(wxString(wxUniChar(0xA0)), " ");
        return text;
    }

    // Every piece is found, each after the one before.
    void ExpectInOrder(const std::vector<wxString>& pieces) const
    {
        const wxString text = Text();
        size_t from = 0;
        for (const wxString& piece : pieces) {
            const size_t at = text.find(piece, from);
            ASSERT_NE(wxString::npos, at) << "missing or out of order: " << piece.utf8_str().data();
            from = at + piece.length();
        }
    }

    bool IsLink(const wxString& shown, const wxString& target) const
    {
        const long at = Text().Find(shown);
        wxRichTextAttr attr;
        return at != wxNOT_FOUND && m_dialog->GetTextCtrl()->GetStyle(at + 1, attr) &&
               attr.GetURL() == target;
    }

    AboutDialog* m_dialog = nullptr;
    int m_assertions = 0;
};
}

TEST_F(AboutDialogTest, ChineseProfileHasEverySectionInOrder)
{
    m_dialog->BuildText(AboutDialog::LANGUAGE_CHINESE);
    ExpectInOrder({L"\t\t\t          奎文燃气电控简介\n", L"      奎文", L"企业使命: ", L"\n企业文化: ",
                   L"\n企业优势: ", L"\n质量认证: ", L"\n产品认证: ", L"\n主要系统产品:\n1. ",
                   L"\n2. ", L"\n3. ", L"\n电话: ", L"\n传真: ", L"\n地址: ",
                   L"\nE_mail: mailto:info@quenvar.example\n  https://quenvar.example/"});
    EXPECT_TRUE(Text().EndsWith("https://quenvar.example/"));
    EXPECT_EQ(wxNOT_FOUND, Text().Find("Main Systems:"));
    EXPECT_TRUE(IsLink("mailto:", "mailto:info@quenvar.example"));
    EXPECT_TRUE(IsLink("https://", "https://quenvar.example/"));

    // Blanks before Chinese are no-break spaces, or the control would wrap
    // there and leave the indentation or a label alone on its line.
    const wxString raw = m_dialog->GetTextCtrl()->GetValue();
    EXPECT_EQ(wxNOT_FOUND, raw.Find(L" 奎文"));
    EXPECT_EQ(wxNOT_FOUND, raw.Find(L": 让"));
    EXPECT_EQ(wxNOT_FOUND, raw.Find(L"1. 汽"));
}

TEST_F(AboutDialogTest, AnyOtherLanguageAppendsTheEnglishProfileOnly)
{
    for (int language : {1, 7, -1}) {
        SCOPED_TRACE(language);
        m_dialog->GetTextCtrl()->Clear();
        m_dialog->BuildText(language);
        ExpectInOrder({"\t\t\t          About Quenvar Gas Controls\n", "      Quenvar",
                       "\nMission: ", "\nCulture: ", "\nStrengths: ", "\nQuality: ",
                       "\nApprovals: ", "\nMain Systems:\n1. ", "\n2. ", "\n3. ", "\nTel: ",
                       "\nFax: ", "\nAddress: ",
                       "\nE_mail: mailto:info@quenvar.example\n  https://quenvar.example/"});
        EXPECT_EQ(wxNOT_FOUND, Text().Find(L"主要系统产品"));
        EXPECT_TRUE(IsLink("mailto:", "mailto:info@quenvar.example"));
        EXPECT_TRUE(IsLink("https://", "https://quenvar.example/"));
    }
}

TEST_F(AboutDialogTest, EveryAddressInTheProfilesIsOnTheReservedExampleDomain)
{
    for (int language : {0, 1}) {
        m_dialog->GetTextCtrl()->Clear();
        m_dialog->BuildText(language);
        const wxString text = Text();
        int links = 0;
        for (size_t i = 0; i < text.length(); ++i) {
            const size_t length = MyTextCtrl::LinkLengthAt(text, i);
            if (length == 0)
                continue;
            ++links;
            EXPECT_TRUE(text.Mid(i, length).Contains("quenvar.example")) << text.Mid(i, length);
            i += length;
        }
        EXPECT_EQ(2, links);
    }
}

TEST_F(AboutDialogTest, TextFillsTheDialogAndStartsAtTheTopWhenShown)
{
    EXPECT_EQ(L"公司介绍", m_dialog->GetTitle());
    EXPECT_EQ("dialog", m_dialog->GetName());
    m_dialog->Show();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_dialog->IsShownOnScreen(); }));
    m_dialog->BuildText(0);
    guitest::ProcessPendingEvents();

    MyTextCtrl* text = m_dialog->GetTextCtrl();
    const wxRect client(m_dialog->GetClientSize());
    EXPECT_TRUE(client.Contains(text->GetRect())) << "the text runs out of the dialog";
    EXPECT_GE(text->GetSize().x, 520);
    EXPECT_GE(text->GetSize().y, 360);
    // The profile is longer than the window, so the view could have stayed
    // at the end of the text.
    EXPECT_GT(text->GetVirtualSize().y, text->GetClientSize().y);
    EXPECT_EQ(0, text->GetViewStart().y);
    EXPECT_EQ(0, text->GetInsertionPoint());
    EXPECT_TRUE(SaveScreenshotIfAsked(m_dialog, "about-dialog.png"));
}

TEST_F(AboutDialogTest, GivenTitleIsKept)
{
    AboutDialog titled(nullptr, wxID_ANY, "About");
    EXPECT_EQ("About", titled.GetTitle());
}

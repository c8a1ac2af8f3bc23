// The LED lamp: its colours, its picture and when the picture is rebuilt.

#include "GuiTest.h"
#include "wxLed.h"

#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>

namespace
{
class LedTest : public ::testing::Test
{
protected:
    void SetUp() override { m_panel = new wxPanel(guitest::SharedFrame()); }
    void TearDown() override { delete m_panel; }

    static wxColour PixelAt(const wxLed* led, int x, int y)
    {
        const wxImage image = led->GetBitmap().ConvertToImage();
        return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
    }
    static bool TransparentAt(const wxLed* led, int x, int y)
    {
        return led->GetBitmap().ConvertToImage().IsTransparent(x, y);
    }
    // The middle of the lamp's body, which carries its colour.
    static wxColour Body(const wxLed* led) { return PixelAt(led, 8, 8); }

    wxPanel* m_panel = nullptr;
};

TEST_F(LedTest, NewLampShowsItsOffColourAtSeventeenSquare)
{
    auto* led = new wxLed(m_panel, wxID_ANY, "808080", wxPoint(5, 6), wxSize(40, 40));
    EXPECT_FALSE(led->IsEnabled());
    EXPECT_EQ(led->GetSize(), wxSize(17, 17));
    EXPECT_EQ(led->GetPosition(), wxPoint(5, 6));
    EXPECT_EQ(led->GetMinSize(), wxSize(17, 17));
    EXPECT_EQ(led->GetBestSize(), wxSize(17, 17));
    EXPECT_EQ(led->GetShownColour(), "808080");
    EXPECT_EQ(led->GetRebuildCount(), 1u);
    EXPECT_EQ(led->GetName(), "panel");

    ASSERT_TRUE(led->GetBitmap().IsOk());
    EXPECT_EQ(led->GetBitmap().GetWidth(), 17);
    EXPECT_EQ(led->GetBitmap().GetHeight(), 17);
    EXPECT_EQ(Body(led), wxColour(0x80, 0x80, 0x80));
    EXPECT_EQ(PixelAt(led, 5, 5), wxColour(0xFF, 0xFF, 0xFF));   // highlight
    EXPECT_EQ(PixelAt(led, 0, 8), wxColour(0xC0, 0xC0, 0xC0));   // upper-left rim
    EXPECT_EQ(PixelAt(led, 16, 8), wxColour(0xF8, 0xF8, 0xF8));  // lower-right rim
    EXPECT_TRUE(TransparentAt(led, 0, 0));
    EXPECT_TRUE(TransparentAt(led, 16, 16));
    EXPECT_FALSE(TransparentAt(led, 8, 8));
}

TEST_F(LedTest, OnColourShowsOnlyWhileEnabledAndEqualColoursCostNothing)
{
    auto* led = new wxLed(m_panel, wxID_ANY, "666666");
    led->SetOnColour("22AA55");
    EXPECT_EQ(led->GetOnColour(), "22AA55");
    EXPECT_EQ(led->GetRebuildCount(), 1u);
    EXPECT_EQ(Body(led), wxColour(0x66, 0x66, 0x66));

    EXPECT_TRUE(led->Enable());
    EXPECT_EQ(led->GetShownColour(), "22AA55");
    EXPECT_EQ(Body(led), wxColour(0x22, 0xAA, 0x55));
    EXPECT_EQ(led->GetRebuildCount(), 2u);
    EXPECT_FALSE(led->Enable());
    EXPECT_EQ(led->GetRebuildCount(), 2u);

    EXPECT_TRUE(led->Disable());
    EXPECT_EQ(Body(led), wxColour(0x66, 0x66, 0x66));
    EXPECT_FALSE(led->Disable());
    EXPECT_EQ(led->GetRebuildCount(), 3u);

    // On an enabled lamp a new on colour shows at once, an equal one is free.
    led->Enable();
    led->SetOnColour("FF5555");
    EXPECT_EQ(Body(led), wxColour(0xFF, 0x55, 0x55));
    EXPECT_EQ(led->GetRebuildCount(), 5u);
    led->SetOnColour("FF5555");
    led->SetLedColour("FF5555");
    EXPECT_EQ(led->GetRebuildCount(), 5u);
    EXPECT_EQ(led->GetSize(), wxSize(17, 17));
}

TEST_F(LedTest, BadColourTextChangesNothing)
{
    auto* led = new wxLed(m_panel, wxID_ANY, "888826");
    for (const char* bad : {"12345", "1234567", "GGGGGG", "", "12 456"})
        led->SetOnColour(bad);
    led->SetOnColour(nullptr);
    EXPECT_EQ(led->GetOnColour(), "FFFFFF");

    led->SetLedColour("zz0000");
    led->SetLedColour(nullptr);
    EXPECT_EQ(led->GetRebuildCount(), 1u);
    EXPECT_EQ(led->GetShownColour(), "888826");
    ASSERT_TRUE(led->GetBitmap().IsOk());
    EXPECT_EQ(Body(led), wxColour(0x88, 0x88, 0x26));

    // Only the first six characters name the colour.
    led->SetLedColour("00FF00 and more");
    EXPECT_EQ(led->GetShownColour(), "00FF00");
    EXPECT_EQ(Body(led), wxColour(0x00, 0xFF, 0x00));

    // A lamp created without a usable colour still has a picture to paint.
    auto* blank = new wxLed(m_panel, wxID_ANY, "");
    EXPECT_EQ(blank->GetOffColour(), "808080");
    ASSERT_TRUE(blank->GetBitmap().IsOk());
    EXPECT_EQ(Body(blank), wxColour(0x80, 0x80, 0x80));
}
}

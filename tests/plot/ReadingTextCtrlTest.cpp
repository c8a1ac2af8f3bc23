// A reading on a HiDPI screen (GDK_SCALE=2) shows as sharp as the toolkit's
// own label of the same text, not composed at the window's scale and doubled.

#include "PlotInputSupport.h"
#include "ReadingTextCtrl.h"

#include <wx/stattext.h>

namespace
{

// Share of one-colour 2 x 2 blocks among those not all background (the top left pixel).
double UniformBlocks(const wxImage& im)
{
    auto at = [&](int x, int y) { return wxColour(im.GetRed(x, y), im.GetGreen(x, y), im.GetBlue(x, y)); };
    int inked = 0, uniform = 0;
    for (int y = 0; y + 1 < im.GetHeight(); y += 2)
        for (int x = 0; x + 1 < im.GetWidth(); x += 2)
        {
            const wxColour b[] = {at(x, y), at(x + 1, y), at(x, y + 1), at(x + 1, y + 1), at(0, 0)};
            inked += std::count(b, b + 4, b[4]) < 4;
            uniform += std::count(b, b + 4, b[0]) == 4 && b[0] != b[4];
        }
    return inked ? double(uniform) / inked : 1.0;
}

TEST(ReadingTextCtrl, AtTwiceTheScaleItIsAsSharpAsTheToolkitsLabel)
{
    wxFrame* frame = guitest::SharedFrame();
    if (frame->GetContentScaleFactor() != 2)
        GTEST_SKIP() << "GDK_SCALE=2 only";
    const wxFont font(10, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
    std::unique_ptr<wxStaticText> label(new wxStaticText(frame, wxID_ANY, "-12.38", {20, 20}));
    std::unique_ptr<ReadingTextCtrl> reading(new ReadingTextCtrl(frame, "-12.38", "-00.00", font));
    label->SetFont(font);
    reading->Move(20, 60);
    frame->Show();
    frame->Raise();
    double toolkit = 1, share = 1;
    ASSERT_TRUE(guitest::WaitFor([&] { return (toolkit = UniformBlocks(GrabFromScreen(label.get()))) < 0.5; }));
    EXPECT_TRUE(guitest::WaitFor([&] { return (share = UniformBlocks(GrabFromScreen(reading.get()))) < toolkit + 0.1; }))
        << share << " of its blocks one colour, the toolkit's label " << toolkit;
    frame->Hide();
}

} // namespace

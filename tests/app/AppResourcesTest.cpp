#include <gtest/gtest.h>

#include <wx/image.h>

#include "AppResources.h"
#include "GuiTest.h"

namespace
{
const char* const kNames[] = {"ID_LOGOICO", "ID_ZPORT", "ID_ZAIRUBAOCUN", "ID_PENZUIJISUAN",
                              "ID_ZBAOYANG", "ID_YANSHI", "ID_ZGONGSI"};

// Share of opaque pixels: a broken image decodes empty or as a full square.
double OpaqueShare(const wxImage& image)
{
    int opaque = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const bool transparent = (image.HasMask() && image.IsTransparent(x, y)) ||
                                     (image.HasAlpha() && image.GetAlpha(x, y) < 128);
            opaque += transparent ? 0 : 1;
        }
    }
    return double(opaque) / (image.GetWidth() * image.GetHeight());
}
}

TEST(AppResources, EveryNamedImageLoadsAs32x32WithADrawing)
{
    for (const char* name : kNames) {
        SCOPED_TRACE(name);
        const wxBitmap bitmap = LoadAppBitmap(name);
        ASSERT_TRUE(bitmap.IsOk());
        EXPECT_EQ(wxSize(32, 32), bitmap.GetSize());
        const double share = OpaqueShare(bitmap.ConvertToImage());
        EXPECT_GT(share, 0.15);
        EXPECT_LT(share, 1.0);

        const wxIcon icon = LoadAppIcon(name);
        ASSERT_TRUE(icon.IsOk());
        EXPECT_EQ(32, icon.GetWidth());
        EXPECT_EQ(32, icon.GetHeight());
    }
}

TEST(AppResources, ImagesDifferFromEachOther)
{
    for (size_t i = 0; i < std::size(kNames); ++i) {
        const wxImage a = LoadAppBitmap(kNames[i]).ConvertToImage();
        for (size_t j = i + 1; j < std::size(kNames); ++j) {
            const wxImage b = LoadAppBitmap(kNames[j]).ConvertToImage();
            EXPECT_NE(0, memcmp(a.GetData(), b.GetData(), 32 * 32 * 3))
                << kNames[i] << " and " << kNames[j] << " are the same picture";
        }
    }
}

TEST(AppResources, UnknownNameGivesInvalidImagesWithoutAssertion)
{
    const int assertionsBefore = guitest::AssertionCount();
    // ID_TUBIAO and ID_YUYAN were resources once but are not used any more.
    for (const char* name : {"ID_TUBIAO", "ID_YUYAN", "", "id_zport", "ID_ZPORT "}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(LoadAppBitmap(name).IsOk());
        EXPECT_FALSE(LoadAppIcon(name).IsOk());
    }
    EXPECT_EQ(assertionsBefore, guitest::AssertionCount());
}

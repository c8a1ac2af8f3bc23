#include <Kandrel.h>

#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>
#include <string>

TEST(Kandrel, SignedAndUnsignedBytes)
{
    const unsigned char bytes[] = {0x80, 0x7F, 0x80, 0xF6, 0x00, 0xFF};
    Kandrel r(bytes);
    EXPECT_EQ(r.get_s8(), -128);
    EXPECT_EQ(r.get_s8(), 127);
    EXPECT_EQ(r.get_u8(), 128);
    EXPECT_EQ(r.get_s8(), -10);
    EXPECT_EQ(r.get_s8(), 0);
    EXPECT_EQ(r.get_u8(), 255);
}

TEST(Kandrel, ByteOrders)
{
    const unsigned char bytes[] = {0x03, 0x77, 0x03, 0x77, 0x00, 0x00, 0x01, 0x02, 0xFF, 0xFE, 0xFD, 0xFC};
    Kandrel r(bytes);
    EXPECT_EQ(r.get_u16(), 887);
    EXPECT_EQ(r.get_u16l(), 30467);
    EXPECT_EQ(r.get_u32(), 258u);
    // Results are unsigned: no sign extension of a high first byte.
    EXPECT_EQ(r.get_u32(), 0xFFFEFDFCu);
}

TEST(Kandrel, CursorAdvancesAcrossMixedReads)
{
    unsigned char bytes[16];
    for (int i = 0; i < 16; ++i)
        bytes[i] = static_cast<unsigned char>(i);
    Kandrel r(bytes);
    EXPECT_EQ(r.get_u8(), 0);
    EXPECT_EQ(r.get_u16(), 0x0102);
    EXPECT_EQ(r.get_u16l(), 0x0403);
    EXPECT_EQ(r.get_u32(), 0x05060708u);
    // After 1 + 2 + 2 + 4 bytes the next read takes the byte at p + 9.
    EXPECT_EQ(r.get_u8(), 9);
    EXPECT_EQ(r.get_s8(), 10);
}

TEST(Kandrel, ReaderIsOnePointerWide)
{
    EXPECT_EQ(sizeof(Kandrel), sizeof(const unsigned char*));
}

namespace
{
int FindKandrel(dl_phdr_info* info, size_t, void* found)
{
    const std::string name = info->dlpi_name ? info->dlpi_name : "";
    if (name.find("libKandrel.so") != std::string::npos)
        *static_cast<std::string*>(found) = name;
    return 0;
}
}

TEST(Kandrel, IsASharedLibraryLinkedByName)
{
    std::string path;
    dl_iterate_phdr(FindKandrel, &path);
    ASSERT_FALSE(path.empty()) << "libKandrel.so is not loaded as a shared object";
    // The reader's code must come from that library, not from this executable.
    Dl_info info{};
    auto fn = &Kandrel::get_u16;
    void* addr = nullptr;
    static_assert(sizeof(fn) >= sizeof(addr));
    std::memcpy(&addr, &fn, sizeof(addr));
    ASSERT_NE(dladdr(addr, &info), 0);
    EXPECT_NE(std::string(info.dli_fname).find("libKandrel.so"), std::string::npos) << info.dli_fname;
}

// Settings files: refusing anything but a whole 554-byte block, the load
// sequence on the queue, and a save that never leaves a partial file.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "CommandTestSupport.h"
#include "Controller.h"
#include "ParamPayloadBuilder.h"

using cmdtest::Bytes;
using cmdtest::PatternBlock;
using cmdtest::QueuedFrames;
using cmdtest::ReadFile;
using cmdtest::RequestFrame;
using cmdtest::WriteFile;
using cmdtest::WxPath;

namespace
{

constexpr std::size_t kBlock = 554;

std::size_t EntriesIn(const std::filesystem::path& dir)
{
    std::size_t n = 0;
    for (auto it = std::filesystem::directory_iterator(dir); it != std::filesystem::directory_iterator(); ++it)
        ++n;
    return n;
}

class SettingsFileTest : public ::testing::Test
{
protected:
    SettingsFileTest() { m_c.SetHost(&m_host); }

    void SetUp() override { ASSERT_TRUE(m_dir.Ok()); }

    bool Refused(std::size_t messagesBefore) const
    {
        if (m_host.m_messages.size() != messagesBefore + 1)
            return false;
        const auto& m = m_host.m_messages.back();
        return m.first == wxString::FromUTF8("无效的文件设置 ") && m.second == wxString::FromUTF8("错误 ");
    }

    // A parameter reply whose settings block is block, through the parser.
    void ReceiveParameters(const Bytes& block)
    {
        ParamPayloadBuilder builder;
        for (std::size_t k = 0; k < kBlock; ++k)
            builder.Byte(17 + k, block[k]);
        const auto frame = builder.Frame();
        m_c.m_rxBuffer.assign(reinterpret_cast<const char*>(frame.data()), frame.size());
        m_c.ParseReply();
    }

    cmdtest::RecordingHost m_host;
    Controller m_c;
    cmdtest::TempDir m_dir;
};

// Drops root's right to write anywhere for the life of the object, so a
// folder's permissions mean what they say.
class UnprivilegedScope
{
public:
    UnprivilegedScope()
    {
        if (geteuid() == 0)
            m_dropped = seteuid(65534) == 0;
    }
    ~UnprivilegedScope()
    {
        if (m_dropped && seteuid(0) != 0)
            ADD_FAILURE() << "could not regain the effective user";
    }
    UnprivilegedScope(const UnprivilegedScope&) = delete;
    UnprivilegedScope& operator=(const UnprivilegedScope&) = delete;

private:
    bool m_dropped = false;
};

} // namespace

TEST_F(SettingsFileTest, AnyOtherSizeIsRefusedAndNothingChanges)
{
    m_c.RequestLiveData();
    m_c.m_awaitingReply = 1;
    const auto queued = QueuedFrames(m_c);

    for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(553), std::size_t(555), 2 * kBlock})
    {
        const auto path = m_dir.Path("size" + std::to_string(size) + ".xse");
        WriteFile(path, PatternBlock(size, 1));
        const std::size_t before = m_host.m_messages.size();
        m_c.LoadSettingsFile(WxPath(path));
        EXPECT_TRUE(Refused(before)) << size;
        EXPECT_EQ(QueuedFrames(m_c), queued) << size;
        EXPECT_EQ(m_c.m_awaitingReply, 1) << size;
    }

    // Missing files and folders are refused the same way.
    std::size_t before = m_host.m_messages.size();
    m_c.LoadSettingsFile(WxPath(m_dir.Path("missing.xse")));
    EXPECT_TRUE(Refused(before));
    std::filesystem::create_directory(m_dir.Path("folder.xse"));
    before = m_host.m_messages.size();
    m_c.LoadSettingsFile(WxPath(m_dir.Path("folder.xse")));
    EXPECT_TRUE(Refused(before));
    before = m_host.m_messages.size();
    m_c.LoadSettingsFile(wxString());
    EXPECT_TRUE(Refused(before));
    EXPECT_EQ(QueuedFrames(m_c), queued);
}

TEST_F(SettingsFileTest, LoadingDropsWaitingRequestsThenSendsTheBlockAndReadsBack)
{
    m_c.m_online = 1;
    m_c.SetSwitchRpm(800);
    m_c.RequestLiveData();
    m_c.RequestParameterBlock(0);
    m_c.m_awaitingReply = 1;

    const Bytes block = PatternBlock(kBlock, 3);
    const auto path = m_dir.Path("good.xse");
    WriteFile(path, block);
    m_c.LoadSettingsFile(WxPath(path));

    EXPECT_TRUE(m_host.m_messages.empty());
    EXPECT_EQ(QueuedFrames(m_c), (std::vector<Bytes>{RequestFrame(26, block), RequestFrame(12, {1})}));
    // The reply already under way is read before the block goes out.
    EXPECT_EQ(m_c.m_awaitingReply, 1);
    // Loading reads the file only.
    EXPECT_EQ(ReadFile(path), block);
}

TEST_F(SettingsFileTest, SaveWritesTheBlockOnceAndForgetsTheName)
{
    const auto path = m_dir.Path("saved.xse");
    const Bytes block = PatternBlock(kBlock, 5);
    m_c.SetSaveFileName(WxPath(path));
    m_c.WritePendingSettingsFile(block.data());
    EXPECT_EQ(ReadFile(path), block);
    EXPECT_TRUE(m_c.m_saveFileName.empty());

    const Bytes other = PatternBlock(kBlock, 9);
    m_c.WritePendingSettingsFile(other.data());
    EXPECT_EQ(ReadFile(path), block);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(EntriesIn(m_dir.Root()), 1u);
}

TEST_F(SettingsFileTest, SavingOverALongerFileLeavesExactlyTheBlockEvenThroughASymlink)
{
    const auto path = m_dir.Path("long.xse");
    WriteFile(path, PatternBlock(3000, 11));
    const Bytes block = PatternBlock(kBlock, 13);
    m_c.SetSaveFileName(WxPath(path));
    m_c.WritePendingSettingsFile(block.data());
    EXPECT_EQ(ReadFile(path), block);

    // Through a symlink: the link stays, its file gets the block and keeps
    // its permissions, nothing is left beside them.
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    const auto link = m_dir.Path("link.xse");
    std::filesystem::create_symlink("long.xse", link);
    const Bytes next = PatternBlock(kBlock, 47);
    m_c.SetSaveFileName(WxPath(link));
    m_c.WritePendingSettingsFile(next.data());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(path), next);
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all, std::filesystem::perms(0640));
    EXPECT_EQ(EntriesIn(m_dir.Root()), 2u);
}

TEST_F(SettingsFileTest, SaveIntoAFolderThatCannotBeWrittenKeepsTheOldFileAndReportsIt)
{
    const auto folder = m_dir.Path("locked");
    std::filesystem::create_directory(folder);
    const auto path = folder / "old.xse";
    const Bytes old = PatternBlock(kBlock, 17);
    WriteFile(path, old);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                             std::filesystem::perms::group_read | std::filesystem::perms::group_exec |
                                             std::filesystem::perms::others_read | std::filesystem::perms::others_exec);

    cmdtest::LogCapture log;
    {
        UnprivilegedScope unprivileged;
        if (faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0)
            GTEST_SKIP() << "this user can write into a read-only folder";
        m_c.SetSaveFileName(WxPath(path));
        m_c.WritePendingSettingsFile(PatternBlock(kBlock, 19).data());
    }
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_FALSE(log.m_errors.empty());
    EXPECT_TRUE(m_c.m_saveFileName.empty());
    EXPECT_EQ(EntriesIn(folder), 1u);
}

TEST_F(SettingsFileTest, AWriteThatFailsHalfwayKeepsTheOldFile)
{
    const auto path = m_dir.Path("old.xse");
    const Bytes old = PatternBlock(kBlock, 23);
    WriteFile(path, old);

    // No file may grow beyond 100 bytes: the write stops partway.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    cmdtest::LogCapture log;
    m_c.SetSaveFileName(WxPath(path));
    m_c.WritePendingSettingsFile(PatternBlock(kBlock, 29).data());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(ReadFile(path), old);
    EXPECT_FALSE(log.m_errors.empty());
    EXPECT_TRUE(m_c.m_saveFileName.empty());
    // The half-written temporary file is gone too.
    EXPECT_EQ(EntriesIn(m_dir.Root()), 1u);
}

TEST_F(SettingsFileTest, SaveIntoAMissingFolderIsReported)
{
    cmdtest::LogCapture log;
    const auto path = m_dir.Path("nowhere") / "x.xse";
    m_c.SetSaveFileName(WxPath(path));
    m_c.WritePendingSettingsFile(PatternBlock(kBlock, 31).data());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(log.m_errors.empty());
    EXPECT_TRUE(m_c.m_saveFileName.empty());
}

TEST_F(SettingsFileTest, TheNextParameterFrameWritesItsOwnSettingsBlockOnce)
{
    const auto path = m_dir.Path("from-frame.xse");
    const Bytes block = PatternBlock(kBlock, 37);
    m_c.SetSaveFileName(WxPath(path));
    m_c.RequestParameterBlock(0);
    EXPECT_EQ(QueuedFrames(m_c), (std::vector<Bytes>{RequestFrame(12, {0})}));

    ReceiveParameters(block);
    EXPECT_EQ(ReadFile(path), block);
    EXPECT_TRUE(m_c.m_saveFileName.empty());
    EXPECT_TRUE(m_c.m_requestQueue.empty());

    ReceiveParameters(PatternBlock(kBlock, 41));
    EXPECT_EQ(ReadFile(path), block);
}

TEST_F(SettingsFileTest, ALoadIsConfirmedOnlyByTheFrameReadBehindItsBlock)
{
    struct Loaded : cmdtest::RecordingHost
    {
        void SettingsFileLoaded(const wxString& path) override { m_paths.push_back(path); }
        std::vector<wxString> m_paths;
    } host;
    m_c.SetHost(&host);
    const wxString good = WxPath(m_dir.Path("good.xse"));
    WriteFile(m_dir.Path("good.xse"), PatternBlock(kBlock, 5));
    EXPECT_FALSE(m_c.LoadSettingsFile(WxPath(m_dir.Path("missing.xse"))));
    ASSERT_TRUE(m_c.LoadSettingsFile(good));
    // A link reset or a demo switch drops the block with the queue: nothing
    // may claim it.
    m_c.ResetLink();
    ReceiveParameters(PatternBlock(kBlock, 5));
    EXPECT_TRUE(host.m_paths.empty());
    ASSERT_TRUE(m_c.LoadSettingsFile(good));
    m_c.SetDemoMode(true);
    m_c.SetDemoMode(false);
    EXPECT_TRUE(m_c.m_loadFileName.empty());
    ASSERT_TRUE(m_c.LoadSettingsFile(good));
    ReceiveParameters(PatternBlock(kBlock, 5));
    m_c.m_rxBuffer.assign({'\xAA', 0x00, 0x05, CMD_WRITE_SETTINGS, static_cast<char>(0xAA + 5 + CMD_WRITE_SETTINGS)});
    m_c.ParseReply();
    EXPECT_TRUE(host.m_paths.empty());
    m_c.RequestParameters();
    ReceiveParameters(PatternBlock(kBlock, 5));
    ReceiveParameters(PatternBlock(kBlock, 5));
    EXPECT_EQ(host.m_paths, (std::vector<wxString>{good}));
}

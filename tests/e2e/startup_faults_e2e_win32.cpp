// Faults at start-up: a system drive that refuses every write, one too small for the payload, a
// payload file that cannot be written, a corrupt payload archive and one made under another
// password. The tool tells what failed in a stop box and ends with exit code 0.
#include <gtest/gtest.h>

#include <memory>

#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_scenarios.h"
#include "tests/e2e/fault_support.h"

namespace {

// Starts the program, expects the box (title "提示", stop icon, one button) and no main window,
// dismisses it and returns the exit code (0xFFFF when the program did not end).
DWORD ExpectStartupBox(ToolSession& session, const SessionOptions& options, const std::string& text) {
    EXPECT_TRUE(session.Start(options)) << options.program;
    const MessageBoxView box = session.WaitForBox();
    EXPECT_NE(box.window, nullptr) << "no box";
    if (!box.window)
        return 0xFFFF;
    EXPECT_EQ(box.title, tool::kBoxTitle);
    EXPECT_EQ(box.text, text);
    EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(BoxIcon::kStop));
    EXPECT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(FindTopLevelWindow(session.process().id(), tool::kMainTitle), nullptr) << "the main window is shown";
    EXPECT_TRUE(session.Dismiss(box));
    DWORD code = 0xFFFF;
    EXPECT_TRUE(session.process().WaitForExit(15000, &code));
    return code;
}

constexpr char kDataError[] = "程序初始化失败,USB.7z解压失败,错误代码:2(数据错误或无法写入)！";
constexpr uint64_t kMegabyte = 1 << 20;

// What the files below the folder take on a drive of 4 KB clusters.
uint64_t ClusteredBytesBelow(const std::string& folder) {
    uint64_t total = 0;
    for (const std::string& file : FilesBelow(folder)) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA((folder + "\\" + file).c_str(), GetFileExInfoStandard, &data))
            total += ((uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow) + 4095) / 4096 * 4096;
    }
    return total;
}

// Megabytes with one decimal, as the low-space box writes them.
std::string Megabytes(uint64_t bytes, bool roundUp) {
    const uint64_t tenths = (bytes * 10 + (roundUp ? kMegabyte - 1 : 0)) / kMegabyte;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

TEST(StartupFaultE2ETest, AReadOnlySystemDriveEndsWithTheMissingArchiveBoxAndWritesNothing) {
    if (SandboxToolPath().empty())
        GTEST_FAIL() << "TovUSB-sandbox.exe is not built (the e2e_tests target builds it)";
    RemoveTree(tool::kWorkDir);
    const std::vector<std::string> before = FilesBelow(kPeRoot);
    {
        ImmutablePath drive(kPeRoot);
        ASSERT_TRUE(drive.ok()) << "X:\\ still takes writes (chattr +i on " << UnixPathOf(kPeRoot) << ")";
        ToolSession session;
        EXPECT_EQ(ExpectStartupBox(session, SessionOptions(), "程序初始化失败,USB.7z不存在！"), 0u);
    }
    EXPECT_FALSE(PathExists(tool::kWorkDir));
    EXPECT_EQ(FilesBelow(kPeRoot), before);
    EXPECT_FALSE(PathExists("C:\\TovUSB"));
}

TEST(StartupFaultE2ETest, AnArchiveThatDoesNotUnpackEndsWithTheExtractorsCode) {
    if (FaultToolPath().empty() || !PathExists(FaultToolPath()) || !PathExists(WrongPasswordToolPath()))
        GTEST_FAIL() << "the test builds of the tool are not built (the e2e_tests target builds them)";
    struct ArchiveCase {
        const char* name;
        std::string program;
        const char* fault;
    };
    const ArchiveCase cases[] = {
        {"corrupt archive", FaultToolPath(), "corrupt"},
        {"archive under another password", WrongPasswordToolPath(), ""},
    };
    for (const ArchiveCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedVariable fault("TOVUSB_FAULT_ARCHIVE", c.fault);
        ToolSession session;
        SessionOptions options;
        options.program = c.program;
        // 7-Zip ends with 2 on a data error, which a wrong password is to it as well.
        EXPECT_EQ(ExpectStartupBox(session, options, kDataError), 0u);
        // Nothing of a payload that failed to unpack stays behind: the extractor skips files that
        // exist, so a later start would keep what this one left half-written.
        EXPECT_FALSE(PathExists(tool::kWorkDir));
        RemoveTree(tool::kWorkDir);
    }
    // A second start, with an intact archive and whatever the failed ones left, unpacks all of it.
    ScopedVariable fault("TOVUSB_FAULT_ARCHIVE", "corrupt");
    ToolSession failed;
    SessionOptions options;
    options.program = FaultToolPath();
    ExpectStartupBox(failed, options, kDataError);
    ToolSession retry;
    options.program = SandboxToolPath();
    options.keepWorkDir = true;
    options.recordDism = false;
    ASSERT_TRUE(retry.Start(options));
    ASSERT_NE(retry.WaitForMainWindow(), nullptr);
    for (const std::string& file : FilesBelow(PayloadFolder()))
        EXPECT_TRUE(ReadWholeFile("X:\\TovUSB\\" + file) == ReadWholeFile(PayloadFolder() + file)) << file;
    DWORD code = 0xFFFF;
    ASSERT_TRUE(retry.CloseMainWindow(&code));
    EXPECT_EQ(code, 0u);
}

// Windows PE's X: is a RAM disk of 32 MB unless the image was built with more. Staging measures
// before it writes: the box names what it needs and what is free, and nothing is written.
TEST(StartupFaultE2ETest, ASystemDriveWithoutRoomForThePayloadStopsBeforeWritingAnything) {
    if (SandboxToolPath().empty())
        GTEST_FAIL() << "TovUSB-sandbox.exe is not built (the e2e_tests target builds it)";
    // What staging writes, as it lies on a drive with room enough.
    uint64_t needed = 0;
    {
        ToolSession session;
        SessionOptions options;
        options.recordDism = false;
        ASSERT_TRUE(session.Start(options));
        ASSERT_NE(session.WaitForMainWindow(), nullptr);
        needed = ClusteredBytesBelow(tool::kWorkDir);
        DWORD code = 0xFFFF;
        ASSERT_TRUE(session.CloseMainWindow(&code));
    }
    ASSERT_GT(needed, 2 * kMegabyte);
    const struct {
        const char* name;
        uint64_t size;
        uint64_t fill;
        bool fits;
    } cases[] = {
        {"a RAM disk of 2 MB", 2 * kMegabyte, 0, false},
        {"a RAM disk of 32 MB with 31 MB used", 32 * kMegabyte, 31 * kMegabyte, false},
        // The need is no guess: staging fits in it and a megabyte more.
        {"room for the payload and 1 MB", needed + kMegabyte, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmallDrive drive(kPeRoot, c.size, c.fill);
        ASSERT_TRUE(drive.ok()) << "no tmpfs over " << UnixPathOf(kPeRoot) << " (mounting needs root)";
        ULARGE_INTEGER free;
        ASSERT_TRUE(GetDiskFreeSpaceExA(kPeRoot, &free, nullptr, nullptr));
        const std::vector<std::string> before = FilesBelow(kPeRoot);
        ToolSession session;
        if (c.fits) {
            SessionOptions options;
            options.recordDism = false;
            ASSERT_TRUE(session.Start(options));
            EXPECT_NE(session.WaitForMainWindow(), nullptr) << session.WaitForBox(1000).text;
            DWORD code = 0xFFFF;
            EXPECT_TRUE(session.CloseMainWindow(&code));
            EXPECT_EQ(code, 0u);
            continue;
        }
        const std::string text = "程序初始化失败,X:盘空间不足,需要 " + Megabytes(needed, true) + " MB,可用 " +
                                 Megabytes(free.QuadPart, false) + " MB！";
        EXPECT_EQ(ExpectStartupBox(session, SessionOptions(), text), 0u);
        EXPECT_EQ(FilesBelow(kPeRoot), before);
    }
}

// A payload file that cannot be written ends staging at once with the file and the system's
// reason, and what staging wrote before goes with it. The archive, when it is not there at all,
// keeps its own box (AReadOnlySystemDrive...).
TEST(StartupFaultE2ETest, AWriteThatIsRefusedStopsStagingWithItsReason) {
    if (SandboxToolPath().empty())
        GTEST_FAIL() << "TovUSB-sandbox.exe is not built (the e2e_tests target builds it)";
    const struct {
        const char* file;
        bool immutable;  // else held open without sharing
        DWORD error;
    } cases[] = {
        {"7z.exe", true, ERROR_ACCESS_DENIED},
        {"7z.dll", false, ERROR_SHARING_VIOLATION},
        {"USB.7z", true, ERROR_ACCESS_DENIED},  // an earlier start's, which cannot be replaced
    };
    constexpr char kEarlier[] = "left by an earlier start";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        RemoveTree(tool::kWorkDir);
        ASSERT_TRUE(CreateDirectoryA(tool::kWorkDir, nullptr));
        const std::string path = std::string(tool::kWorkDir) + "\\" + c.file;
        ASSERT_TRUE(WriteWholeFile(path, kEarlier));
        {
            std::unique_ptr<ImmutablePath> immutable;
            std::unique_ptr<HeldOpenFile> held;
            if (c.immutable)
                immutable = std::make_unique<ImmutablePath>(path);
            else
                held = std::make_unique<HeldOpenFile>(path, 0);
            ASSERT_TRUE(c.immutable ? immutable->ok() : held->ok());
            ToolSession session;
            SessionOptions options;
            options.keepWorkDir = true;
            const std::string text =
                std::string("程序初始化失败,") + c.file + "写入失败(" + ErrorReason(c.error) + ")！";
            EXPECT_EQ(ExpectStartupBox(session, options, text), 0u);
            EXPECT_EQ(FilesBelow(tool::kWorkDir), std::vector<std::string>{c.file});
        }
        EXPECT_EQ(ReadWholeFile(path), kEarlier);
        RemoveTree(tool::kWorkDir);
    }
}

}  // namespace

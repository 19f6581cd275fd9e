// The archive round trip under Wine: the payload constants written out, unpacked, compared byte for byte.
// The three ByteSets are written as the tool writes them, the embedded extractor runs with the
// tool's exact command line, and every unpacked file is compared with the folder the archive was
// built from. Part of two programs: one linked with the project's tov_payload, one with a library
// that the same pipeline made from a fixture folder.
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "resources/payload_constants.h"
#include "tests/payload/payload_test_support.h"
#include "tests/support/offline_windows.h"

namespace {

namespace fs = std::filesystem;

const char kPassword[] = "k537204968";

uint32_t Word(const uint8_t* block, size_t index) {
    uint32_t value;
    std::memcpy(&value, block + 4 * index, 4);
    return value;
}

// Writes a ByteSet's data straight from the constant, as the tool does.
bool WriteByteSet(const std::string& path, const uint8_t* block) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, block + 8, Word(block, 1), &written, nullptr);
    CloseHandle(file);
    return ok && written == Word(block, 1);
}

// Every file below a folder by its path relative to it (with "\" separators), with its bytes.
std::map<std::string, std::string> FilesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(folder))) {
        if (!entry.is_regular_file())
            continue;
        std::string bytes;
        ReadWholeFile(entry.path().string(), bytes);
        files[fs::relative(entry.path(), fs::path(folder)).string()] = bytes;
    }
    return files;
}

// The work folder as the tool lays it out: its path ends in "\", the payload files are written
// under it with a doubled separator, and the extractor runs with the tool's command line.
class StagedPayload {
  public:
    StagedPayload() {
        work_ = temp_.path() + "\\work\\";
        ok_ = temp_.ok() && CreateDirectoryA(work_.c_str(), nullptr) &&
              WriteByteSet(work_ + "\\USB.7z", kPayloadArchive) &&
              WriteByteSet(work_ + "\\7z.exe", kExtractorProgram) &&
              WriteByteSet(work_ + "\\7z.dll", kExtractorLibrary);
    }

    ProcessOutcome Extract(const char* password) const {
        const std::string arguments =
            std::string(" x  \"") + work_ + "\\USB.7z" + "\"  -y -aos -p" + password + "  -o" + work_;
        return RunCommandLine(work_ + "\\7z.exe" + " " + arguments);
    }

    bool ok() const { return ok_; }
    const std::string& work() const { return work_; }

  private:
    TempFolder temp_;
    std::string work_;
    bool ok_ = false;
};

TEST(PayloadConstants, LieInReadOnlyData) {
    for (const uint8_t* block : {kPayloadArchive, kExtractorProgram, kExtractorLibrary}) {
        MEMORY_BASIC_INFORMATION region;
        ASSERT_NE(VirtualQuery(block, &region, sizeof(region)), 0u);
        EXPECT_EQ(region.Protect & (PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE), 0u);
    }
}

TEST(PayloadArchive, UnpacksToTheSourceFolderByteForByte) {
    StagedPayload staged;
    ASSERT_TRUE(staged.ok());
    const ProcessOutcome outcome = staged.Extract(kPassword);
    ASSERT_TRUE(outcome.started);
    ASSERT_EQ(outcome.exitCode, 0u) << outcome.output;

    const std::map<std::string, std::string> source = FilesBelow(HostPath(TOVUSB_TEST_PAYLOAD_DIR));
    std::map<std::string, std::string> unpacked = FilesBelow(staged.work());
    ASSERT_FALSE(source.empty());
    for (const char* staging : {"USB.7z", "7z.exe", "7z.dll"}) {
        // A payload may carry a file of the same name at its root; it was skipped (-aos).
        if (!source.count(staging)) {
            EXPECT_EQ(unpacked.erase(staging), 1u) << staging;
        }
    }
    EXPECT_EQ(unpacked.size(), source.size());
    for (const auto& [path, bytes] : source) {
        auto found = unpacked.find(path);
        ASSERT_NE(found, unpacked.end()) << path << " was not unpacked";
        EXPECT_TRUE(found->second == bytes) << path << " differs";
    }
}

TEST(PayloadArchive, WrongPasswordFailsWithExitCode2) {
    StagedPayload staged;
    ASSERT_TRUE(staged.ok());
    const ProcessOutcome outcome = staged.Extract("k537204969");
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(outcome.exitCode, 2u) << outcome.output;
}

TEST(PayloadArchive, ExistingFilesStayUntouched) {
    const std::map<std::string, std::string> source = FilesBelow(HostPath(TOVUSB_TEST_PAYLOAD_DIR));
    ASSERT_FALSE(source.empty());
    const std::string& kept = source.rbegin()->first;
    StagedPayload staged;
    ASSERT_TRUE(staged.ok());
    fs::create_directories((fs::path(staged.work()) / kept).parent_path());
    ASSERT_TRUE(WriteWholeFile(staged.work() + kept, "left by an earlier run"));

    const ProcessOutcome outcome = staged.Extract(kPassword);
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(outcome.exitCode, 0u) << outcome.output;
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(staged.work() + kept, bytes));
    EXPECT_EQ(bytes, "left by an earlier run");
    const std::string& other = source.begin()->first;
    ASSERT_TRUE(ReadWholeFile(staged.work() + other, bytes)) << other;
    EXPECT_TRUE(bytes == source.begin()->second) << other;
}

}  // namespace

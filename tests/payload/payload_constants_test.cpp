// The payload constants hold the built files as ByteSets: the word 1, the length, the bytes.
// Part of the archive test programs (one per payload folder), natively and under Wine.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "resources/payload_constants.h"
#include "tests/payload/payload_test_support.h"

namespace {

uint32_t Word(const uint8_t* block, size_t index) {
    uint32_t value;
    std::memcpy(&value, block + 4 * index, 4);
    return value;
}

TEST(PayloadConstants, HoldTheBuiltFilesAsByteSets) {
    struct ConstantCase {
        const char* name;
        const uint8_t* block;
        std::string source;
    } cases[] = {
        {"kPayloadArchive", kPayloadArchive, HostPath(TOVUSB_TEST_ARCHIVE)},
        {"kExtractorProgram", kExtractorProgram, HostPath(TOVUSB_TEST_EXTRACTOR_DIR "/7z.exe")},
        {"kExtractorLibrary", kExtractorLibrary, HostPath(TOVUSB_TEST_EXTRACTOR_DIR "/7z.dll")},
    };
    for (const ConstantCase& c : cases) {
        std::string source;
        ASSERT_TRUE(ReadWholeFile(c.source, source)) << c.source;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(c.block) % 4, 0u) << c.name;
        EXPECT_EQ(Word(c.block, 0), 1u) << c.name;
        ASSERT_EQ(Word(c.block, 1), source.size()) << c.name;
        EXPECT_EQ(std::memcmp(c.block + 8, source.data(), source.size()), 0) << c.name;
    }
    // The archive starts with the 7z signature; the extractor is a Windows program.
    EXPECT_EQ(std::memcmp(kPayloadArchive + 8, "7z\xBC\xAF\x27\x1C", 6), 0);
    EXPECT_EQ(std::memcmp(kExtractorProgram + 8, "MZ", 2), 0);
}

// Staging checks the free space against this before it writes anything: every file of the
// folder the archive was made from, hidden and empty ones too, in whole 4 KB clusters.
TEST(PayloadConstants, KnowTheUnpackedSizeInClusters) {
    uint64_t expected = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(HostPath(TOVUSB_TEST_PAYLOAD_DIR))) {
        if (entry.is_regular_file())
            expected += (entry.file_size() + 4095) / 4096 * 4096;
    }
    EXPECT_GT(expected, 0u);
    EXPECT_EQ(kPayloadCluster, 4096u);
    EXPECT_EQ(kPayloadUnpackedBytes, expected);
}

}  // namespace

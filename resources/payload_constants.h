// The payload files the program carries: ByteSet constants in read-only data, made at build time.
#pragma once

#include <cstdint>

// Each block is a ByteSet (the 32-bit word 1, the 32-bit length n, then n bytes) placed in the
// program image's read-only data, so it is written out from where it lies and never freed.
extern "C" {
// USB.7z: the driver payload archive, file data encrypted under the archive password.
extern const uint8_t kPayloadArchive[];
// 7z.exe: the Windows x86 console extractor.
extern const uint8_t kExtractorProgram[];
// 7z.dll: the extractor's codec library.
extern const uint8_t kExtractorLibrary[];
// What the archive's files take once unpacked: each file's size rounded up to whole clusters of
// kPayloadCluster bytes, summed when the archive was made.
extern const uint64_t kPayloadUnpackedBytes;
// The cluster that sizes on the work directory's drive are counted in (4 KB, as on NTFS and the
// RAM disk of Windows PE).
extern const uint32_t kPayloadCluster;
}

// Start-up: the Windows PE check, the processor generation and payload staging.
#include "app/startup/startup_sequence.h"

#include <cpuid.h>
#include <windows.h>

#include <cstring>

#include "app/exec/command_runner.h"
#include "app/exec/probes.h"
#include "app/startup/environment_checks.h"
#include "app/startup/notice_box.h"
#include "app/startup/program_globals.h"
#include "app/startup/staging_messages.h"
#include "app/startup/staging_paths.h"
#include "resources/payload_constants.h"
#include "runtime/byte_set.h"
#include "runtime/declared_api.h"
#include "runtime/file_commands.h"
#include "runtime/program_exit.h"
#include "runtime/system_commands.h"
#include "runtime/text_commands.h"

namespace {

// 7-Zip's exit codes: 0 done, 1 warnings only (for example a file that was skipped), 2 and above
// a fatal error, a bad password or a broken archive among them.
constexpr uint32_t kFirstExtractorFailure = 2;

// A payload that failed to unpack must not stay behind: the extractor skips files that exist
// (-aos), so a later start would keep whatever this one left half-written.
[[noreturn]] void AbandonStaging(const char* message) {
    RemoveDirectoryTree(WorkDir.c_str());
    ShowNotice(message, BoxIcon::kStop);
    ExitProgram(0);
}

// Windows PE's system drive is a RAM disk of 32 MB unless its image was built with more, and a
// real payload unpacks to far more: without this the extractor would fill it and fail halfway
// with a message that names no cause. A drive whose free space cannot be read is left to try.
void RequireStagingSpace(const char* root) {
    uint64_t freeBytes = 0;
    if (!DriveFreeSpace(root, &freeBytes))
        return;
    const uint64_t needed = StagingBytesNeeded(
        {ByteSetLength(kPayloadArchive), ByteSetLength(kExtractorProgram), ByteSetLength(kExtractorLibrary)},
        kPayloadUnpackedBytes, kPayloadCluster);
    if (freeBytes >= needed)
        return;
    OwnedText drive = LeftText(root, 2);
    OwnedText message = LowSpaceMessage(drive.c_str(), needed, freeBytes);
    ShowNotice(message.c_str(), BoxIcon::kStop);
    ExitProgram(0);
}

// Writes one payload file; a refused write ends staging with its reason, and takes what was
// written before with it.
void WritePayloadFile(const char* path, const char* fileName, const uint8_t* byteSet) {
    const Result written = WriteFileBytes(path, {byteSet});
    if (written)
        return;
    OwnedText message = WriteFailureMessage(fileName, written.error(), SystemErrorText);
    AbandonStaging(message.c_str());
}

}  // namespace

bool IsWindowsPE() {
    OwnedText windows = SpecialDirectory(kWindowsDirectory);
    return IsWindowsPEDirectory(windows.get());
}

OwnedText ReadProcessorBrand() {
    const HANDLE heap = declared::GetProcessHeap();
    auto* buffer = static_cast<uint32_t*>(declared::HeapAlloc(heap, 0, 48));
    for (unsigned i = 2; i <= 4; ++i) {
        unsigned a = 0, b = 0, c = 0, d = 0;
        __cpuid(0x80000000u + i, a, b, c, d);
        uint32_t* at = buffer + (i - 2) * 4;
        at[0] = a;
        at[1] = b;
        at[2] = c;
        at[3] = d;
    }
    // The brand leaves promise a terminator within their 48 bytes; a processor that fills all 48
    // must not make the copy run past the buffer.
    char brand[49];
    std::memcpy(brand, buffer, 48);
    brand[48] = '\0';
    HeapFree(heap, 0, buffer);
    return PointerToText(brand);
}

void StartupSequence() {
    if (IsWindowsPE()) {
        // The generation comes from the processor the tool runs on; its brand may be padded with
        // spaces in front, which the word rule would otherwise read as an empty first word.
        OwnedText brand = ReadProcessorBrand();
        OwnedText trimmed = TrimSpaces(brand.get());
        ProcessorGeneration = DetectProcessorGeneration(trimmed.get());
        StagePayload();
        return;
    }
    ShowNotice("本程序仅支持WinPE环境！", BoxIcon::kExclamation);
    ExitProgram(0);
}

OwnedText SystemDriveRoot() {
    OwnedText system = SpecialDirectory(kSystemDirectory);
    return LeftText(system.get(), 3);
}

Result CreateDirectoryPath(OwnedText& path) {
    DirectoryLevels plan = PlanDirectoryLevels(path.c_str());
    path = std::move(plan.path);
    for (const OwnedText& level : plan.levels) {
        // An empty level is where the plan ran out of separators: creation ends there.
        if (level.empty())
            break;
        if (FileExists(level.c_str()))
            continue;
        const Result made = MakeDirectory(level.c_str());
        if (!made)
            return made;
    }
    return Result::Success();
}

void StagePayload() {
    OwnedText root = SystemDriveRoot();
    RequireStagingSpace(root.c_str());
    WorkDir = ConcatText(root.get(), "\\TovUSB\\");
    // A directory that could not be made shows up at once as the archive that is not there.
    CreateDirectoryPath(WorkDir);
    // Hiding is a courtesy to the technician's file views: a payload that shows works as well.
    ChangeFileAttributes(WorkDir.c_str(), FILE_ATTRIBUTE_HIDDEN);

    ArchivePath = ConcatText(WorkDir.get(), "\\USB.7z");
    const Result archiveWritten = WriteFileBytes(ArchivePath.c_str(), {kPayloadArchive});
    if (!FileExists(ArchivePath.c_str())) {
        ShowNotice("程序初始化失败,USB.7z不存在！", BoxIcon::kStop);
        ExitProgram(0);
    }
    // There, but not written whole: an older archive that could not be replaced, or part of this one.
    if (!archiveWritten) {
        OwnedText message = WriteFailureMessage("USB.7z", archiveWritten.error(), SystemErrorText);
        AbandonStaging(message.c_str());
    }

    ExtractorPath = ConcatText(WorkDir.get(), "\\7z.exe");
    WritePayloadFile(ExtractorPath.c_str(), "7z.exe", kExtractorProgram);
    OwnedText libraryPath = ConcatText(WorkDir.get(), "\\7z.dll");
    WritePayloadFile(libraryPath.c_str(), "7z.dll", kExtractorLibrary);

    OwnedText arguments = ExtractorArguments(ArchivePath.c_str(), WorkDir.c_str());
    CommandRunResult run;
    CommandRunner(arguments.c_str(), ExtractorPath.c_str(), kProgramForm, &run);
    // A payload that did not unpack would make every later action fail with misleading messages.
    if (!run.started) {
        OwnedText message = ExtractorStartFailureMessage(run.startError, SystemErrorText);
        AbandonStaging(message.c_str());
    }
    if (run.exitCode >= kFirstExtractorFailure) {
        OwnedText message = ExtractionFailureMessage(run.exitCode);
        AbandonStaging(message.c_str());
    }

    DevconPath = ConcatText(WorkDir.get(), IsHost64Bit() ? "\\devcon_X64.exe" : "\\devcon.exe");

    OwnedText systemRoot = SystemDriveRoot();
    const bool windows8 = IsWindows8Family(systemRoot.c_str());
    systemRoot = SystemDriveRoot();
    const char* dism = "\\dism\\X86\\dism.exe";
    // Windows 8 and 8.1 PE take the 32-bit DISM wherever it can start; a 64-bit PE built without
    // WoW64 (where only the 64-bit build of the tool runs) takes the 64-bit one.
    if (windows8 ? !HostRuns32BitPrograms() : IsWindowsVistaOrLater(systemRoot.c_str()) && IsHost64Bit())
        dism = "\\dism\\x64\\dism.exe";
    DismPath = ConcatText(WorkDir.get(), dism);
}

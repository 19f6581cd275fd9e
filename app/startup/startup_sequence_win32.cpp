// Start-up: the Windows PE check, the processor generation and payload staging.
#include "app/startup/startup_sequence.h"

#include <windows.h>

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

StartupStop StagingStop(const char* message) {
    return {StartupStop::Kind::kStagingFailed, CopyText(message), BoxIcon::kStop};
}

// A payload that failed to unpack must not stay behind: the extractor skips files that exist
// (-aos), so a later start would keep whatever this one left half-written.
StartupStop AbandonStaging(const char* message) {
    RemoveDirectoryTree(WorkDir.c_str());
    return StagingStop(message);
}

// Windows PE's system drive is a RAM disk of 32 MB unless its image was built with more, and a
// real payload unpacks to far more: without this the extractor would fill it and fail halfway
// with a message that names no cause. A drive whose free space cannot be read is left to try.
std::optional<StartupStop> RequireStagingSpace(const char* root) {
    uint64_t freeBytes = 0;
    if (!DriveFreeSpace(root, &freeBytes))
        return std::nullopt;
    const uint64_t needed = StagingBytesNeeded(
        {ByteSetLength(kPayloadArchive), ByteSetLength(kExtractorProgram), ByteSetLength(kExtractorLibrary)},
        kPayloadUnpackedBytes, kPayloadCluster);
    if (freeBytes >= needed)
        return std::nullopt;
    OwnedText drive = LeftText(root, 2);
    OwnedText message = LowSpaceMessage(drive.c_str(), needed, freeBytes);
    return StagingStop(message.c_str());
}

// Writes one payload file; a refused write ends staging with its reason, and takes what was
// written before with it.
std::optional<StartupStop> WritePayloadFile(const char* path, const char* fileName, const uint8_t* byteSet) {
    const Result written = WriteFileBytes(path, {byteSet});
    if (written)
        return std::nullopt;
    OwnedText message = WriteFailureMessage(fileName, written.error(), SystemErrorText);
    return AbandonStaging(message.c_str());
}

}  // namespace

bool IsWindowsPE() {
    OwnedText windows = SpecialDirectory(kWindowsDirectory);
    return IsWindowsPEDirectory(windows.get());
}

std::optional<StartupStop> PrepareTool() {
    if (!IsWindowsPE())
        return StartupStop{StartupStop::Kind::kNotWindowsPE, CopyText("本程序仅支持WinPE环境！"),
                           BoxIcon::kExclamation};
    // The generation comes from the processor the tool runs on; its brand may be padded with
    // spaces in front, which the word rule would otherwise read as an empty first word.
    OwnedText brand = ReadProcessorBrand();
    OwnedText trimmed = TrimSpaces(brand.get());
    ProcessorGeneration = DetectProcessorGeneration(trimmed.get());
    return StagePayload();
}

void StartupSequence() {
    const std::optional<StartupStop> stop = PrepareTool();
    if (!stop)
        return;
    ShowNotice(stop->message.c_str(), stop->icon);
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

std::optional<StartupStop> StagePayload() {
    OwnedText root = SystemDriveRoot();
    if (std::optional<StartupStop> stop = RequireStagingSpace(root.c_str()))
        return stop;
    WorkDir = ConcatText(root.get(), "\\TovUSB\\");
    // A directory that could not be made shows up at once as the archive that is not there.
    CreateDirectoryPath(WorkDir);
    // Hiding is a courtesy to the technician's file views: a payload that shows works as well.
    ChangeFileAttributes(WorkDir.c_str(), FILE_ATTRIBUTE_HIDDEN);

    ArchivePath = ConcatText(WorkDir.get(), "\\USB.7z");
    const Result archiveWritten = WriteFileBytes(ArchivePath.c_str(), {kPayloadArchive});
    if (!FileExists(ArchivePath.c_str()))
        return StagingStop("程序初始化失败,USB.7z不存在！");
    // There, but not written whole: an older archive that could not be replaced, or part of this one.
    if (!archiveWritten) {
        OwnedText message = WriteFailureMessage("USB.7z", archiveWritten.error(), SystemErrorText);
        return AbandonStaging(message.c_str());
    }

    ExtractorPath = ConcatText(WorkDir.get(), "\\7z.exe");
    if (std::optional<StartupStop> stop = WritePayloadFile(ExtractorPath.c_str(), "7z.exe", kExtractorProgram))
        return stop;
    OwnedText libraryPath = ConcatText(WorkDir.get(), "\\7z.dll");
    if (std::optional<StartupStop> stop = WritePayloadFile(libraryPath.c_str(), "7z.dll", kExtractorLibrary))
        return stop;

    OwnedText arguments = ExtractorArguments(ArchivePath.c_str(), WorkDir.c_str());
    CommandRunResult run;
    CommandRunner(arguments.c_str(), ExtractorPath.c_str(), kProgramForm, &run);
    // A payload that did not unpack would make every later action fail with misleading messages.
    if (!run.started) {
        OwnedText message = ExtractorStartFailureMessage(run.startError, SystemErrorText);
        return AbandonStaging(message.c_str());
    }
    if (run.exitCode >= kFirstExtractorFailure) {
        OwnedText message = ExtractionFailureMessage(run.exitCode);
        return AbandonStaging(message.c_str());
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
    return std::nullopt;
}

// Start-up: the Windows PE check, the processor generation and payload staging.
#include "app/startup/startup_sequence.h"

#include <cpuid.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/exec/command_runner.h"
#include "app/exec/probes.h"
#include "app/startup/environment_checks.h"
#include "app/startup/program_globals.h"
#include "app/startup/staging_paths.h"
#include "resources/payload_constants.h"
#include "runtime/declared_api.h"
#include "runtime/file_commands.h"
#include "runtime/info_box.h"
#include "runtime/program_exit.h"
#include "runtime/system_commands.h"
#include "runtime/text_commands.h"

namespace {

void ShowBox(const char* text, int32_t flags) {
    InfoBox(TaggedValue::OfText(text), flags, "提示");
}

// 7-Zip's exit codes: 0 done, 1 warnings only (for example a file that was skipped), 2 and above
// a fatal error, a bad password or a broken archive among them.
constexpr uint32_t kFirstExtractorFailure = 2;

// A payload that failed to unpack must not stay behind: the extractor skips files that exist
// (-aos), so a later start would keep whatever this one left half-written.
[[noreturn]] void AbandonStaging(const char* message) {
    RemoveDirectoryTree(WorkDir.c_str());
    ShowBox(message, 0x10);
    ExitProgram(0);
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
    ShowBox("本程序仅支持WinPE环境！", 0x30);
    ExitProgram(0);
}

OwnedText SystemDriveRoot() {
    OwnedText system = SpecialDirectory(kSystemDirectory);
    return LeftText(system.get(), 3);
}

void CreateDirectoryPath(OwnedText& path) {
    DirectoryLevels plan = PlanDirectoryLevels(path.c_str());
    path = std::move(plan.path);
    for (const OwnedText& level : plan.levels) {
        if (!FileExists(level.c_str()) && !MakeDirectory(level.c_str()))
            break;
    }
}

void StagePayload() {
    OwnedText root = SystemDriveRoot();
    WorkDir = ConcatText(root.get(), "\\TovUSB\\");
    CreateDirectoryPath(WorkDir);
    ChangeFileAttributes(WorkDir.c_str(), 2);

    ArchivePath = ConcatText(WorkDir.get(), "\\USB.7z");
    WriteFileBytes(ArchivePath.c_str(), {kPayloadArchive});
    if (!FileExists(ArchivePath.c_str())) {
        ShowBox("程序初始化失败,USB.7z不存在！", 0x10);
        ExitProgram(0);
    }

    ExtractorPath = ConcatText(WorkDir.get(), "\\7z.exe");
    WriteFileBytes(ExtractorPath.c_str(), {kExtractorProgram});
    OwnedText libraryPath = ConcatText(WorkDir.get(), "\\7z.dll");
    WriteFileBytes(libraryPath.c_str(), {kExtractorLibrary});

    OwnedText arguments = ExtractorArguments(ArchivePath.c_str(), WorkDir.c_str());
    CommandRunResult run;
    CommandRunner(arguments.c_str(), ExtractorPath.c_str(), kProgramForm, &run);
    // A payload that did not unpack would make every later action fail with misleading messages.
    if (!run.started)
        AbandonStaging("程序初始化失败,7z.exe无法运行！");
    if (run.exitCode >= kFirstExtractorFailure) {
        char code[16];
        std::snprintf(code, sizeof code, "%lu", static_cast<unsigned long>(run.exitCode));
        OwnedText message = ConcatText("程序初始化失败,USB.7z解压失败,错误代码:", code, "！");
        AbandonStaging(message.c_str());
    }

    DevconPath = ConcatText(WorkDir.get(), IsHost64Bit() ? "\\devcon_X64.exe" : "\\devcon.exe");

    OwnedText systemRoot = SystemDriveRoot();
    const bool windows8 = IsWindows8Family(systemRoot.c_str());
    systemRoot = SystemDriveRoot();
    const char* dism = "\\dism\\X86\\dism.exe";
    if (!windows8 && IsWindowsVistaOrLater(systemRoot.c_str()) && IsHost64Bit())
        dism = "\\dism\\x64\\dism.exe";
    DismPath = ConcatText(WorkDir.get(), dism);
}

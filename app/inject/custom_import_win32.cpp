// The custom import: any driver folder into any Windows directory that holds Explorer.exe.
#include "app/exec/command_runner.h"
#include "app/inject/dism_outcome.h"
#include "app/inject/dism_parameters.h"
#include "app/inject/imports.h"
#include "app/startup/program_globals.h"
#include "app/ui/close_guard.h"
#include "app/ui/custom_window.h"
#include "runtime/file_commands.h"
#include "runtime/info_box.h"
#include "runtime/text_commands.h"

namespace {

void ShowBox(const char* text, int32_t flags) {
    InfoBox(TaggedValue::OfText(text), flags, "提示");
}

}  // namespace

void RunCustomImport() {
    if (ReadCustomTargetText().empty()) {
        ShowBox("请选择目标系统的Windows目录！", 0x30);
        return;
    }
    if (ReadCustomDriverFolderText().empty()) {
        ShowBox("请选择驱动所在目录！", 0x30);
        return;
    }
    {
        OwnedText target = ReadCustomTargetText();
        OwnedText explorer = ConcatText(target.get(), "\\Explorer.exe");
        if (!FileExists(explorer.c_str())) {
            ShowBox("请选择正确的Windows系统！", 0x30);
            return;
        }
    }

    CloseGuard running;
    SetCustomStartButtonRunning(true);
    OwnedText target = ReadCustomTargetText();
    OwnedText folder = ReadCustomDriverFolderText();
    OwnedText imageRoot = ImageRootOfWindowsDirectory(target.get());
    OwnedText parameters = CustomImportParameters(imageRoot.get(), folder.get());
    CommandRunResult run;
    CommandRunner(parameters.c_str(), DismPath.c_str(), kProgramForm, &run);
    SetCustomStartButtonRunning(false);

    if (!DismSucceeded(run.started, run.exitCode)) {
        OwnedText message = DismFailureMessage("自定义导入驱动失败", run);
        ShowBox(message.c_str(), 0x10);
        return;
    }
    ShowBox("模糊导入驱动完成！", 0x40);
}

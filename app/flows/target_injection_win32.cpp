// The main window's start: a Windows 7 check of the chosen root, then the import chosen.
#include "app/exec/probes.h"
#include "app/flows/import_flows.h"

void RunTargetInjection(FlowView& view, const char* targetRoot, bool precise) {
    if (!IsWindows7(nullptr, targetRoot)) {
        view.Refuse("本功能仅适合Windows7系统，请选择正确的系统", BoxIcon::kStop);
        return;
    }
    if (precise)
        RunPreciseImport(view, targetRoot);
    else
        RunFuzzyImport(view, targetRoot);
}

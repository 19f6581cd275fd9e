// DISM failure messages.
#include "app/inject/dism_outcome.h"

#include "runtime/text_commands.h"

OwnedText DismFailureMessage(const char* flow, const CommandRunResult& run, ErrorTextLookup lookup) {
    if (!run.started) {
        OwnedText reason = ErrorReasonText(run.startError, lookup);
        return ConcatText(flow, ",DISM无法运行(", reason.get(), ")！");
    }
    OwnedText code = ErrorCodeText(run.exitCode);
    OwnedText text = lookup ? lookup(run.exitCode) : OwnedText();
    if (text.empty())
        return ConcatText(flow, ",DISM错误代码:", code.get(), "！");
    return ConcatText(flow, ",DISM错误代码:", code.get(), "(", text.get(), ")！");
}

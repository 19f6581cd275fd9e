// The hardware-ID survey and log entries.
#include "app/inject/survey.h"

#include "app/exec/command_runner.h"
#include "app/startup/program_globals.h"
#include "runtime/byte_set.h"
#include "runtime/file_commands.h"
#include "runtime/file_numbers.h"
#include "runtime/scoped_handle.h"
#include "runtime/text_commands.h"

OwnedText RunHardwareSurvey() {
    OwnedText command = ConcatText(DevconPath.get(), " hwids *");
    return CommandRunner(command.c_str(), "", kShellForm);
}

void AddLogEntry(const char* text, const char* logPath) {
    if (!FileExists(logPath))
        WriteFileBytes(logPath, {kEmptyByteSet});
    FileNumber file(OpenFileNumber(logPath));
    OwnedText entry = ConcatText(text, "\r\n");
    InsertTextLines(file.get(), {TaggedValue::OfText(entry.c_str())});
}

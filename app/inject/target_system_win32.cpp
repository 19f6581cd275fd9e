// Architecture of the target, its index and path qualification.
#include "app/inject/target_system.h"

#include <windows.h>

#include "app/startup/program_globals.h"
#include "runtime/byte_set.h"
#include "runtime/declared_api.h"
#include "runtime/file_commands.h"
#include "runtime/text_commands.h"

namespace {

bool Is32BitProgram(const char* path) {
    DWORD type = SCS_32BIT_BINARY;
    declared::GetBinaryTypeA(path, &type);
    return type == SCS_32BIT_BINARY;
}

}  // namespace

int TargetIs64Bit(const char* targetRoot) {
    for (const char* cmd : {"\\Windows\\sysnative\\cmd.exe", "\\Windows\\system32\\cmd.exe"}) {
        OwnedText path = ConcatText(targetRoot, cmd);
        if (FileExists(path.c_str()))
            return Is32BitProgram(path.c_str()) ? 0 : 1;
    }
    return 0;
}

DriverIndex LoadDriverIndex(bool target64Bit) {
    DriverIndex index;
    OwnedText path = ConcatText(WorkDir.get(), target64Bit ? "\\Win7x64.Index" : "\\Win7x86.Index");
    OwnedByteSet bytes = ReadFileBytes(path.c_str());
    index.text = ToText(TaggedValue::OfByteSet(bytes.get() ? bytes.get() : kEmptyByteSet));
    // Kept on purpose: WorkDir ends in "\", so the base holds a doubled separator; the shell's
    // qualification of each package folder removes it before DISM sees the path.
    index.driverBase = ConcatText(WorkDir.get(), target64Bit ? "\\Win7X64\\" : "\\Win7X86\\");
    return index;
}

OwnedText QualifyPath(const char* path) {
    OwnedText buffer = SpaceText(MAX_PATH);
    declared::PathSearchAndQualifyA(path, buffer.get(), MAX_PATH);
    return PointerToText(buffer.get());
}

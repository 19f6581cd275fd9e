// Installs the sandbox's directory answers into the runtime's system commands, and its processor
// brand and WoW64 answer into the probes.
#include <windows.h>

#include <cstring>

#include "app/exec/probes.h"
#include "app/sandbox/sandbox_override.h"
#include "runtime/system_commands.h"

namespace {

// Read once at start: the answers must not change under a running program.
std::string g_systemRoot;
std::string g_processorBrand;

bool AnswerFromSandbox(int32_t code, char* buffer, uint32_t size) {
    const std::string answer = SandboxDirectory(g_systemRoot, code);
    // A path that does not fit is no answer: the system's own then stands, as without a sandbox.
    if (answer.empty() || answer.size() >= size)
        return false;
    std::memcpy(buffer, answer.c_str(), answer.size() + 1);
    return true;
}

bool BrandFromSandbox(char* buffer) {
    std::memcpy(buffer, g_processorBrand.c_str(), g_processorBrand.size() + 1);
    return true;
}

void InstallBrandOverride() {
    char value[kProcessorBrandBytes + 1];
    const DWORD length = GetEnvironmentVariableA(kSandboxProcessorBrandVariable, value, sizeof value);
    if (length == 0 || length >= sizeof value) {
        SetProcessorBrandOverride(nullptr);
        return;
    }
    g_processorBrand.assign(value, length);
    SetProcessorBrandOverride(BrandFromSandbox);
}

void InstallWow64Override() {
    char value[2];
    const DWORD length = GetEnvironmentVariableA(kSandboxNoWow64Variable, value, sizeof value);
    SetWow64AbsentOverride(length == 1 && value[0] == '1');
}

}  // namespace

void InstallSandboxOverride() {
    InstallBrandOverride();
    InstallWow64Override();
    char value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(kSandboxSystemRootVariable, value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return;
    g_systemRoot.assign(value, length);
    SetSystemDirectoryOverride(AnswerFromSandbox);
}

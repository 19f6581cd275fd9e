// The sandbox build's differences, all taken from the environment: a Windows directory, so that
// the program believes it runs in Windows PE on another drive, a processor brand, so that the
// processor generation's branches run on any machine, and a system without WoW64. Only
// TovUSB-sandbox.exe (and the test builds of the tool) link it.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/system_commands.h"
#include "runtime/text_rules.h"

// The variable that names the simulated Windows directory, for example X:\Windows.
inline constexpr char kSandboxSystemRootVariable[] = "TOVUSB_SANDBOX_SYSTEMROOT";
// The variable that holds the processor brand the program reads instead of the processor's own
// (CPUID) brand, for example "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz". Up to 48 bytes, as the
// processor's brand leaves hold; a longer or empty value is no answer.
inline constexpr char kSandboxProcessorBrandVariable[] = "TOVUSB_SANDBOX_PROCESSOR_BRAND";
// The variable that, when it holds "1", makes the WoW64 question answer "absent": a 64-bit
// Windows PE built without WoW64 (or, for the 32-bit program, a 32-bit system), on a test
// machine whose 64-bit Windows always has it.
inline constexpr char kSandboxNoWow64Variable[] = "TOVUSB_SANDBOX_NO_WOW64";

namespace sandbox_detail {

// True when the last character is a separator; a GBK trail byte of 0x5C is none.
inline bool EndsWithSeparator(const std::string& path) {
    bool last = false;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto b = static_cast<uint8_t>(path[i]);
        if (IsLeadByte(b) && i + 1 < path.size()) {
            ++i;
            last = false;
            continue;
        }
        last = b == '\\' || b == '/';
    }
    return last;
}

inline std::string WithSeparator(std::string path) {
    if (!EndsWithSeparator(path))
        path += '\\';
    return path;
}

}  // namespace sandbox_detail

// What the sandbox answers for directory code 9 (the Windows directory) and 10 (the system
// directory) when the variable holds `systemRoot`: the root and the root + "\system32", each with
// one "\" added where it is missing. Empty for any other code or an empty root. Kept in the
// header so that the sandbox's entry needs no second source file.
inline std::string SandboxDirectory(const std::string& systemRoot, int32_t code) {
    if (systemRoot.empty())
        return std::string();
    if (code == kWindowsDirectory)
        return sandbox_detail::WithSeparator(systemRoot);
    if (code == kSystemDirectory)
        return sandbox_detail::WithSeparator(sandbox_detail::WithSeparator(systemRoot) + "system32");
    return std::string();
}

// Reads the variables once; when the system root is set and not empty, the Windows and system
// directory queries of the runtime answer from it for the rest of the process; when the brand
// is, the processor brand probe does; and with the WoW64 variable at "1" the probes see no
// WoW64. Windows only.
void InstallSandboxOverride();

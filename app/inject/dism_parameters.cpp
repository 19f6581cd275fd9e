// DISM parameter texts.
#include "app/inject/dism_parameters.h"

#include <cstring>
#include <string>

#include "app/inject/index_matching.h"
#include "runtime/memory.h"
#include "runtime/text_commands.h"
#include "runtime/text_rules.h"

OwnedText DismPathArgument(const char* path) {
    const char* p = path ? path : "";
    if (std::strpbrk(p, " \t\"") == nullptr)
        return CopyText(p);
    // DISM splits its command line by the usual rules: 2n backslashes before a quote are n
    // backslashes, 2n+1 are n and a literal quote. It parses the wide form of the line, where a
    // GBK character whose second byte is 0x5C is one character and no backslash.
    std::string out = "\"";
    size_t backslashes = 0;
    for (const char* c = p; *c != '\0'; ++c) {
        if (IsLeadByte(static_cast<uint8_t>(*c)) && c[1] != '\0') {
            out.append(backslashes, '\\');
            out += c[0];
            out += c[1];
            ++c;
            backslashes = 0;
            continue;
        }
        if (*c == '\\') {
            ++backslashes;
            continue;
        }
        if (*c == '"') {
            out.append(backslashes * 2 + 1, '\\');
            out += '"';
        } else {
            out.append(backslashes, '\\');
            out += *c;
        }
        backslashes = 0;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
    char* block = static_cast<char*>(RuntimeAlloc(out.size() + 1));
    std::memcpy(block, out.c_str(), out.size() + 1);
    return OwnedText(block);
}

OwnedText PreciseImportParameters(const char* targetRoot, const char* driverFolder) {
    OwnedText root = DismPathArgument(targetRoot);
    OwnedText folder = DismPathArgument(driverFolder);
    return ConcatText(" /Image:", root.get(), "  /Add-Driver /Driver:", folder.get(), "  /Recurse  /ForceUnsigned");
}

OwnedText FuzzyImportParameters(const char* targetRoot, const char* workDir, bool target64Bit) {
    OwnedText root = DismPathArgument(targetRoot);
    OwnedText architecture = ConcatText(workDir, target64Bit ? "\\Win7X64" : "\\Win7X86");
    OwnedText folder = DismPathArgument(architecture.get());
    return ConcatText(" /Image:", root.get(), "  /Add-Driver /Driver:", folder.get(), " /Recurse ");
}

OwnedText ImageRootOfWindowsDirectory(const char* windowsDirectory) {
    OwnedText parent = ParentFolderOf(windowsDirectory);
    return parent.empty() ? CopyText(windowsDirectory) : std::move(parent);
}

OwnedText CustomImportParameters(const char* imageRoot, const char* driverFolder) {
    OwnedText target = DismPathArgument(imageRoot);
    OwnedText folder = DismPathArgument(driverFolder);
    return ConcatText(" /Image:", target.get(), "  /Add-Driver /Driver:", folder.get(), " /Recurse ");
}

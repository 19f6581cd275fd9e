// Fuzz target of the command lines: whatever the paths hold (spaces, quotes, backslashes before a
// quote, GBK characters whose second byte is a backslash or a quote's neighbour), the program that
// splits a DISM or extractor line by the usual Windows rules gets each path back as one whole
// argument, and the switches stay switches. The tool's own arguments read back as they were
// meant: a request written out again as arguments is read as the same request.
#include <string>
#include <vector>

#include "app/console/console_arguments.h"
#include "app/inject/dism_parameters.h"
#include "app/startup/staging_paths.h"
#include "fuzz/fuzz_common.h"
#include "tests/app/windows_argv.h"

using fuzz::Escaped;
using fuzz::Require;
using Arguments = std::vector<std::string>;

namespace {

constexpr char kDism[] = "X:\\TovUSB\\\\dism\\x64\\dism.exe";
constexpr char kExtractor[] = "X:\\TovUSB\\\\7z.exe";

// A path as Windows hands it out in the ANSI code page: single bytes (no zero) and complete
// two-byte characters, a lead byte always followed by a trail byte (0x40 to 0xFE but 0x7F).
// Quotes are left out when `quotes` is false, as no file name holds one.
std::string TakePath(FuzzedDataProvider& in, size_t maxCharacters, bool quotes) {
    static const char kSingles[] = "aZ09:._-\\\\\\ \" \t|&()";
    const size_t count = in.ConsumeIntegralInRange<size_t>(0, maxCharacters);
    std::string out;
    for (size_t i = 0; i < count && in.remaining_bytes() > 0; ++i) {
        const uint8_t pick = in.ConsumeIntegral<uint8_t>();
        if (pick < 0x80) {
            const char c = kSingles[pick % (sizeof kSingles - 1)];
            if (c != '"' || quotes)
                out += c;
            continue;
        }
        uint8_t trail = in.ConsumeIntegralInRange<uint8_t>(0x40, 0xFE);
        if (trail == 0x7F)
            trail = 0x5C;
        out += static_cast<char>(pick);
        out += static_cast<char>(trail);
    }
    return out;
}

// The folder above a Windows directory, written from the rule rather than from the code: a last
// byte that is a backslash is ignored, then everything up to and including the last backslash
// that stands on its own (not as the second byte of a two-byte character). With none, the text
// stands as it is.
std::string FolderAbove(const std::string& directory) {
    std::string trimmed = directory;
    if (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    size_t last = std::string::npos;
    for (size_t i = 0; i < trimmed.size(); ++i) {
        const auto b = static_cast<uint8_t>(trimmed[i]);
        if (b >= 0x80) {
            if (i + 1 >= trimmed.size())
                break;  // a lead byte without its second byte ends the scan
            ++i;
        } else if (b == '\\') {
            last = i;
        }
    }
    return last == std::string::npos ? directory : trimmed.substr(0, last + 1);
}

std::string Describe(const Arguments& args) {
    std::string out;
    for (const std::string& a : args)
        out += "[" + Escaped(a) + "] ";
    return out;
}

void ExpectArguments(const std::string& line, const Arguments& expected, const char* what) {
    const Arguments got = SplitWindowsArguments(line);
    Require(got == expected, what, "line " + Escaped(line) + "\ngot " + Describe(got) + "\nwant " + Describe(expected));
}

// A request written out as the arguments that ask for it.
Arguments AsArguments(const ConsoleRequest& request) {
    static const char* const kNames[] = {"", "/survey", "/precise", "/fuzzy", "/custom"};
    Arguments args = {kNames[static_cast<int>(request.command)]};
    for (const std::string* operand : {&request.target, &request.folder}) {
        if (!operand->empty())
            args.push_back(*operand);
    }
    if (!request.logPath.empty())
        args.insert(args.begin(), {"/log", request.logPath});
    return args;
}

void CheckToolArguments(FuzzedDataProvider& in) {
    static const char* const kWords[] = {"/precise", "-FUZZY", "/custom", "/Survey", "/log", "/?", "-x", "/", "-", ""};
    Arguments args;
    const size_t count = in.ConsumeIntegralInRange<size_t>(0, 6);
    for (size_t i = 0; i < count; ++i)
        args.push_back(in.ConsumeBool() ? kWords[in.ConsumeIntegralInRange<size_t>(0, 9)] : TakePath(in, 8, true));
    const ConsoleRequest request = ParseConsoleArguments(args);
    if (request.command == ConsoleCommand::kUsage) {
        Require(request.usageAsked != !request.problem.empty(), "usage asked for or a problem named", Describe(args));
        return;
    }
    Require(request.problem.empty() && !request.usageAsked, "a command without a problem", Describe(args));
    Require(request.command == ConsoleCommand::kSurvey || !request.target.empty(), "a target", Describe(args));
    Require((request.command == ConsoleCommand::kCustom) == !request.folder.empty(), "a folder for /custom alone",
            Describe(args));
    const ConsoleRequest again = ParseConsoleArguments(AsArguments(request));
    Require(again.command == request.command && again.target == request.target && again.folder == request.folder &&
                again.logPath == request.logPath && again.problem.empty(),
            "a request written out reads back the same", Describe(args) + "-> " + Describe(AsArguments(request)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        CheckToolArguments(in);
        return 0;
    }
    const std::string root = TakePath(in, 40, true);
    const std::string folder = TakePath(in, 40, true);
    const std::string workDir = TakePath(in, 20, false) + "\\";
    const bool target64Bit = in.ConsumeBool();

    const OwnedText rootText = fuzz::HeapText(root);
    const OwnedText folderText = fuzz::HeapText(folder);
    const OwnedText workText = fuzz::HeapText(workDir);

    const OwnedText alone = DismPathArgument(rootText.get());
    ExpectArguments(fuzz::AsString(alone.get()), root.empty() ? Arguments{} : Arguments{root}, "DismPathArgument");

    const OwnedText precise = PreciseImportParameters(rootText.get(), folderText.get());
    ExpectArguments(std::string(kDism) + " " + precise.c_str(),
                    {kDism, "/Image:" + root, "/Add-Driver", "/Driver:" + folder, "/Recurse", "/ForceUnsigned"},
                    "precise import");

    const OwnedText fuzzy = FuzzyImportParameters(rootText.get(), workText.get(), target64Bit);
    ExpectArguments(std::string(kDism) + " " + fuzzy.c_str(),
                    {kDism, "/Image:" + root, "/Add-Driver",
                     "/Driver:" + workDir + (target64Bit ? "\\Win7X64" : "\\Win7X86"), "/Recurse"},
                    "fuzzy import");

    const OwnedText custom = CustomImportParameters(rootText.get(), folderText.get());
    ExpectArguments(std::string(kDism) + " " + custom.c_str(),
                    {kDism, "/Image:" + root, "/Add-Driver", "/Driver:" + folder, "/Recurse"}, "custom import");

    // The archive path is quoted as it stands: it holds no quote and ends in the archive's name,
    // so no backslash can stand before the closing quote. The work directory is not quoted.
    const std::string archive = workDir + "\\USB.7z";
    const OwnedText archiveText = fuzz::HeapText(archive);
    const OwnedText extractor = ExtractorArguments(archiveText.get(), workText.get());
    const Arguments got = SplitWindowsArguments(std::string(kExtractor) + " " + extractor.c_str());
    Require(got.size() >= 3 && got[0] == kExtractor && got[1] == "x" && got[2] == archive, "extractor archive argument",
            Describe(got));
    if (workDir.find_first_of(" \t") == std::string::npos) {
        ExpectArguments(std::string(kExtractor) + " " + extractor.c_str(),
                        {kExtractor, "x", archive, "-y", "-aos", std::string("-p") + kArchivePassword, "-o" + workDir},
                        "extractor");
    }

    // The image root of a custom import, from the rule: the folder above the Windows directory
    // (a trailing separator ignored), or the text itself where no folder is above it; and it
    // reaches DISM whole.
    const OwnedText imageRoot = ImageRootOfWindowsDirectory(folderText.get());
    const std::string expectedRoot = FolderAbove(folder);
    Require(fuzz::AsString(imageRoot.get()) == expectedRoot, "ImageRootOfWindowsDirectory",
            "directory " + Escaped(folder) + "\ngot " + Escaped(fuzz::AsString(imageRoot.get())) + "\nwant " +
                Escaped(expectedRoot));
    const OwnedText customOfRoot = CustomImportParameters(imageRoot.get(), folderText.get());
    ExpectArguments(std::string(kDism) + " " + customOfRoot.c_str(),
                    {kDism, "/Image:" + expectedRoot, "/Add-Driver", "/Driver:" + folder, "/Recurse"},
                    "custom import of the image root");
    return 0;
}

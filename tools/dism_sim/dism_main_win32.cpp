// The DISM simulator of the sample payload: checks an offline image, finds the driver packages of
// /Driver: and stages each in the image's driver store as DISM does, printing DISM's report.
#include <windows.h>

#include <winver.h>

#include <string>
#include <vector>

#include "runtime/text_rules.h"
#include "tools/common/std_output_win32.h"
#include "tools/dism_sim/command_line.h"
#include "tools/dism_sim/dism_report.h"
#include "tools/dism_sim/dism_request.h"

namespace {

void Print(const std::string& text) {
    WriteStd(STD_OUTPUT_HANDLE, text);
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The fixed file version of the image's cmd.exe, as DISM reports the image's version.
std::string ImageVersion(const std::string& image) {
    const std::string cmd = JoinPath(image, "Windows\\System32\\cmd.exe");
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(cmd.c_str(), &ignored);
    if (size == 0)
        return std::string();
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(cmd.c_str(), 0, size, block.data()))
        return std::string();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO))
        return std::string();
    return FormatFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}

// The .inf files directly in a folder, and below it when recursing.
void CollectInfFiles(const std::string& folder, bool recurse, std::vector<std::string>& found) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = JoinPath(folder, name);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (recurse)
                CollectInfFiles(path, recurse, found);
        } else if (HasInfExtension(name)) {
            found.push_back(path);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

// Creates every missing level of a folder path; 0 when the folder exists afterwards.
DWORD MakeFolders(const std::string& path) {
    for (size_t i = 0; i < path.size(); ++i) {
        const uint8_t b = static_cast<uint8_t>(path[i]);
        if (IsLeadByte(b)) {
            ++i;
            continue;
        }
        if ((b == '\\' || b == '/') && i > 0 && path[i - 1] != ':' && path[i - 1] != '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
    if (CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        return IsDirectory(path) ? 0 : ERROR_DIRECTORY;
    return GetLastError();
}

bool ReadWhole(const std::string& path, std::string& bytes, DWORD& error) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &got, nullptr) != FALSE) && got > 0)
        bytes.append(buffer, got);
    error = ok ? 0 : GetLastError();
    CloseHandle(file);
    return ok;
}

// DISM stages a package for the image's own architecture, which its cmd.exe tells.
bool ImageIs64Bit(const std::string& image) {
    DWORD type = SCS_32BIT_BINARY;
    return GetBinaryTypeA(JoinPath(image, "Windows\\System32\\cmd.exe").c_str(), &type) && type == SCS_64BIT_BINARY;
}

// Copies the files (not the subfolders) of the INF's folder into the package's store folder.
DWORD CopyPackageFiles(const std::string& source, const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(JoinPath(source, "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD error = 0;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!CopyFileA(JoinPath(source, entry.cFileName).c_str(), JoinPath(folder, entry.cFileName).c_str(), FALSE) &&
            error == 0)
            error = GetLastError();
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return error;
}

// Publishes the INF as Windows\inf\oemNN.inf: the number an identical INF already has, else the
// first free one, as DISM does when the same package is added twice.
DWORD PublishInf(const std::string& image, const std::string& bytes) {
    if (DWORD error = MakeFolders(JoinPath(image, "Windows\\inf")))
        return error;
    for (unsigned number = 0; number < 100000; ++number) {
        const std::string path = PublishedInfPath(image, number);
        std::string existing;
        DWORD error = 0;
        if (!IsFile(path)) {
            HANDLE file =
                CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                return GetLastError();
            DWORD written = 0;
            const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            error = ok && written == bytes.size() ? 0 : GetLastError();
            CloseHandle(file);
            return error;
        }
        if (ReadWhole(path, existing, error) && existing == bytes)
            return 0;
    }
    return ERROR_FILE_EXISTS;
}

// Stages one package: its folder under the driver store with the files of the INF's folder, and
// its INF published. Any INF that can be read is staged, whether it suits the image or not: what
// Windows will take from the store is for the tool to find out, not for the simulator to hide.
DWORD RecordPackage(const std::string& image, const std::string& inf) {
    std::string bytes;
    DWORD error = 0;
    if (!ReadWhole(inf, bytes, error))
        return error;
    const std::string name = FileNamePart(inf);
    const std::string folder = DriverStoreFolder(image, name, ImageIs64Bit(image), bytes);
    if ((error = MakeFolders(folder)) != 0)
        return error;
    const std::string source = inf.substr(0, inf.size() - name.size());
    if ((error = CopyPackageFiles(source.empty() ? "." : source, folder)) != 0)
        return error;
    return PublishInf(image, bytes);
}

int Fail(uint32_t code, const std::string& message) {
    Print(DismErrorBlock(code, message));
    return static_cast<int>(code);
}

}  // namespace

int main() {
    Print(DismBanner());
    std::vector<std::string> args = SplitCommandLine(GetCommandLineA());
    if (!args.empty())
        args.erase(args.begin());
    const DismParse parse = ParseDismArguments(args);
    if (!parse.ok)
        return Fail(kDismBadArgument, parse.error +
                                          "\r\nThe simulator takes /Image:<root> /Add-Driver "
                                          "/Driver:<folder or .inf file> [/Recurse] [/ForceUnsigned].");
    const DismRequest& request = parse.request;

    if (!IsDirectory(JoinPath(request.image, "Windows\\System32")))
        return Fail(kDismBadImage,
                    "Unable to access the image.\r\nMake sure that the image path and the Windows directory for the "
                    "image exist: " +
                        JoinPath(request.image, "Windows\\System32") + " was not found.");
    Print(DismImageVersion(ImageVersion(request.image)));

    Print(DismSearching());
    std::vector<std::string> infs;
    if (IsFile(request.driver)) {
        if (HasInfExtension(request.driver))
            infs.push_back(request.driver);
    } else {
        CollectInfFiles(request.driver, request.recurse, infs);
    }
    if (infs.empty())
        return Fail(kDismNoDriver, "No driver package (.inf file) was found at " + request.driver + ".");
    SortPathsForReport(infs);

    Print(DismFound(infs.size()));
    DWORD firstError = 0;
    for (size_t i = 0; i < infs.size(); ++i) {
        const DWORD error = RecordPackage(request.image, infs[i]);
        if (error != 0 && firstError == 0)
            firstError = error;
        Print(DismInstalling(i + 1, infs.size(), infs[i], error));
    }
    if (firstError != 0)
        return Fail(firstError, "At least one driver package could not be installed.");
    Print(DismSuccess());
    return 0;
}

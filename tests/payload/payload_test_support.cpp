// Portable helpers of the payload tests.
#include "tests/payload/payload_test_support.h"

#include <cstdio>

std::string HostPath(std::string_view hostPath) {
#ifdef _WIN32
    std::string path = "Z:" + std::string(hostPath);
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
#else
    return std::string(hostPath);
#endif
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
        bytes.append(chunk, got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

std::vector<std::string> SplitCrLf(std::string_view text) {
    std::vector<std::string> pieces;
    while (!text.empty()) {
        const size_t end = text.find("\r\n");
        if (end == std::string_view::npos) {
            pieces.emplace_back(text);
            break;
        }
        pieces.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    return pieces;
}

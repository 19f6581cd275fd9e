// Scanning a payload folder with std::filesystem, and case-blind lookups in the result.
#include "tools/index/payload_tree.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "inf/inf_syntax.h"

namespace fs = std::filesystem;

namespace {

std::string ParentOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

}  // namespace

std::string_view EntryName(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::optional<PayloadTree> PayloadTree::Scan(const std::string& root, std::string& error) {
    std::error_code code;
    if (!fs::is_directory(root, code)) {
        error = root + " is not a folder";
        return std::nullopt;
    }
    PayloadTree tree;
    tree.root_ = root;
    fs::recursive_directory_iterator it(root, fs::directory_options::none, code);
    for (; !code && it != fs::recursive_directory_iterator(); it.increment(code)) {
        PayloadEntry entry;
        entry.path = it->path().lexically_relative(root).generic_string();
        const fs::file_status status = it->symlink_status(code);
        if (code)
            break;
        entry.folder = fs::is_directory(status);
        if (fs::is_regular_file(status))
            entry.size = it->file_size(code);
        if (code)
            break;
        tree.entries_.push_back(std::move(entry));
    }
    if (code) {
        error = "cannot read " + root + ": " + code.message();
        return std::nullopt;
    }
    std::sort(tree.entries_.begin(), tree.entries_.end(),
              [](const PayloadEntry& a, const PayloadEntry& b) { return a.path < b.path; });
    return tree;
}

const PayloadEntry* PayloadTree::Find(std::string_view path) const {
    const std::string wanted = AsciiUpperCopy(path);
    for (const PayloadEntry& entry : entries_) {
        if (entry.path.size() == wanted.size() && AsciiUpperCopy(entry.path) == wanted)
            return &entry;
    }
    return nullptr;
}

std::vector<const PayloadEntry*> PayloadTree::Children(std::string_view path) const {
    std::vector<const PayloadEntry*> children;
    for (const PayloadEntry& entry : entries_) {
        if (ParentOf(entry.path) == path)
            children.push_back(&entry);
    }
    return children;
}

std::vector<const PayloadEntry*> PayloadTree::FilesBelow(std::string_view path) const {
    std::vector<const PayloadEntry*> files;
    const std::string prefix = path.empty() ? std::string() : std::string(path) + "/";
    for (const PayloadEntry& entry : entries_) {
        if (!entry.folder && entry.path.compare(0, prefix.size(), prefix) == 0)
            files.push_back(&entry);
    }
    return files;
}

std::string PayloadTree::FullPath(const PayloadEntry& entry) const {
    return (fs::path(root_) / fs::path(entry.path)).string();
}

std::vector<std::pair<const PayloadEntry*, const PayloadEntry*>> PayloadTree::CaseTwins() const {
    std::map<std::string, const PayloadEntry*> seen;
    std::vector<std::pair<const PayloadEntry*, const PayloadEntry*>> twins;
    for (const PayloadEntry& entry : entries_) {
        // Keyed by the parent as spelled on disk: only names inside one folder collide.
        const std::string key = ParentOf(entry.path) + "/" + AsciiUpperCopy(EntryName(entry.path));
        auto [it, added] = seen.emplace(key, &entry);
        if (!added)
            twins.emplace_back(it->second, &entry);
    }
    return twins;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return false;
    bytes = content.str();
    return true;
}

bool WriteFileIfChanged(const std::string& path, const std::string& bytes, std::string& error) {
    std::string old;
    if (ReadFileBytes(path, old) && old == bytes)
        return true;
    const std::string temporary = path + ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            error = "cannot write " + temporary;
            return false;
        }
    }
    std::error_code code;
    fs::rename(temporary, path, code);
    if (code) {
        error = "cannot replace " + path + ": " + code.message();
        fs::remove(temporary, code);
        return false;
    }
    return true;
}

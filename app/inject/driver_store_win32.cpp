// Reading the offline driver store: folder listings, the INFs' bytes and what each serves.
#include "app/inject/driver_store.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "inf/served_ids.h"
#include "runtime/byte_set.h"
#include "runtime/file_commands.h"
#include "runtime/scoped_handle.h"
#include "runtime/text_rules.h"

namespace {

struct FolderEntry {
    std::string name;
    bool folder;
};

// The entries of a folder but "." and ".."; none when it cannot be listed.
std::vector<FolderEntry> ListFolder(const std::string& folder, const char* pattern = "*") {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA((folder + pattern).c_str(), &found));
    if (!search.IsOpen())
        return entries;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search.get(), &found));
    return entries;
}

bool IsInfName(const std::string& name) {
    return name.size() > 4 && EndsWithIgnoringAsciiCase(name, ".inf");
}

// The file's bytes as read, viewed in place: a store holds about 100 MB of INF text, and a copy
// of it costs about what reading it does.
struct FileBytes {
    explicit FileBytes(const std::string& path) : block(ReadFileBytes(path.c_str())) {}
    std::string_view view() const {
        if (!block.get())
            return {};
        return {reinterpret_cast<const char*>(ByteSetBytes(block.get())), ByteSetLength(block.get())};
    }
    OwnedByteSet block;
};

// oemNN.inf's number; -1 for a name of another form.
long OemNumber(const std::string& name) {
    if (name.size() < 8 || name.size() > 15 || !StartsWithIgnoringAsciiCase(name, "oem") || !IsInfName(name))
        return -1;
    long number = 0;
    for (size_t i = 3; i < name.size() - 4; ++i) {
        if (!IsAsciiDigit(static_cast<uint8_t>(name[i])))
            return -1;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

void CollectInfNames(const std::string& folder, std::vector<std::string>& names) {
    for (const FolderEntry& entry : ListFolder(folder)) {
        if (entry.folder)
            CollectInfNames(folder + entry.name + "\\", names);
        else if (IsInfName(entry.name))
            names.push_back(entry.name);
    }
}

// The path with a closing separator; a GBK pair whose trail byte is "\\" does not count as one.
std::string WithSeparator(const char* path) {
    std::string text = path;
    bool separator = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (IsLeadByte(b) && i + 1 < text.size()) {
            ++i;
            separator = false;
            continue;
        }
        separator = b == '\\' || b == '/';
    }
    if (!separator)
        text += '\\';
    return text;
}

}  // namespace

std::vector<StoredPackage> ReadDriverStore(const char* targetRoot,
                                           bool target64Bit,
                                           const std::vector<std::string>* infNames) {
    InfTarget target;
    target.architecture = target64Bit ? InfArchitecture::kAmd64 : InfArchitecture::kX86;
    const std::string root = WithSeparator(targetRoot);

    struct Published {
        long number;
        std::string name;
        FileBytes bytes;
        bool twinned = false;
    };
    std::vector<Published> published;
    const std::string infFolder = root + "Windows\\inf\\";
    for (const FolderEntry& entry : ListFolder(infFolder, "oem*.inf")) {
        const long number = OemNumber(entry.name);
        if (!entry.folder && number >= 0)
            published.push_back({number, entry.name, FileBytes(infFolder + entry.name)});
    }
    std::sort(published.begin(), published.end(),
              [](const Published& a, const Published& b) { return a.number < b.number; });
    // Published INFs by length first: most store INFs are not published, and differ in length.
    std::unordered_multimap<size_t, Published*> bySize;
    for (Published& p : published)
        bySize.emplace(p.bytes.view().size(), &p);

    std::vector<StoredPackage> packages(published.size());
    for (size_t i = 0; i < published.size(); ++i)
        packages[i].infName = packages[i].publishedName = published[i].name;
    std::vector<StoredPackage> inBox;

    const std::string store = root + "Windows\\System32\\DriverStore\\FileRepository\\";
    for (const FolderEntry& folder : ListFolder(store)) {
        if (!folder.folder)
            continue;
        for (const FolderEntry& file : ListFolder(store + folder.name + "\\", "*.inf")) {
            if (file.folder || !IsInfName(file.name))
                continue;
            if (infNames != nullptr && std::none_of(infNames->begin(), infNames->end(), [&](const std::string& name) {
                    return EqualsIgnoringAsciiCase(name, file.name);
                }))
                continue;
            const FileBytes inf(store + folder.name + "\\" + file.name);
            const std::string_view bytes = inf.view();
            Published* twin = nullptr;
            auto range = bySize.equal_range(bytes.size());
            for (auto it = range.first; it != range.second && twin == nullptr; ++it) {
                if (!it->second->twinned && it->second->bytes.view() == bytes)
                    twin = it->second;
            }
            if (twin != nullptr) {
                twin->twinned = true;
                StoredPackage& package = packages[static_cast<size_t>(twin - published.data())];
                package.infName = file.name;
                continue;
            }
            StoredPackage package;
            package.infName = file.name;
            package.ids = ReadServedIds(bytes, target).ids;
            inBox.push_back(std::move(package));
        }
    }
    for (size_t i = 0; i < published.size(); ++i)
        packages[i].ids = ReadServedIds(published[i].bytes.view(), target).ids;
    packages.insert(packages.end(), std::make_move_iterator(inBox.begin()), std::make_move_iterator(inBox.end()));
    return packages;
}

std::vector<std::string> InfNamesBelow(const std::vector<OwnedText>& folders) {
    std::vector<std::string> names;
    for (const OwnedText& folder : folders)
        CollectInfNames(WithSeparator(folder.c_str()), names);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// A fresh folder under the Windows temporary directory for one test, removed with everything in
// it (read-only and hidden entries included) when the test ends.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

class ScratchFolder {
  public:
    ScratchFolder() {
        char temp[MAX_PATH];
        const DWORD n = GetTempPathA(MAX_PATH, temp);
        EXPECT_GT(n, 0u);
        char name[MAX_PATH];
        for (unsigned attempt = 0;; ++attempt) {
            wsprintfA(name, "%stov-files-%lu-%lu-%u", temp, GetCurrentProcessId(), GetTickCount(), attempt);
            if (CreateDirectoryA(name, nullptr))
                break;
            if (attempt > 100) {
                ADD_FAILURE() << "cannot create a temporary folder under " << temp;
                break;
            }
        }
        path_ = name;
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() { Wipe(path_); }

    const std::string& path() const { return path_; }
    // The full path of a name inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    static void WriteFile(const std::string& path, const std::string& bytes) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        ASSERT_EQ(written, bytes.size());
    }
    // The whole file, or "<missing>" when it cannot be opened.
    static std::string ReadFile(const std::string& path) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string bytes(GetFileSize(h, nullptr), '\0');
        DWORD got = 0;
        ::ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(h);
        bytes.resize(got);
        return bytes;
    }
    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  private:
    static void Wipe(const std::string& directory) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string full = directory + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Wipe(full);
                else
                    DeleteFileA(full.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        SetFileAttributesA(directory.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(directory.c_str());
    }

    std::string path_;
};

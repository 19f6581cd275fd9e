// Test support: the fixture programs of bin/fixtures/ and offline Windows roots built from them
// in temporary folders, plus drive letters mapped onto such folders. Windows builds only.
#pragma once

#include <string>

// The stand-in cmd.exe builds in bin/fixtures/<name>/cmd.exe.
enum class FakeCmd {
    kNone,       // no cmd.exe at all
    kWin7x64,    // FileVersion "6.1.7601.17514 (win7sp1_rtm.101119-1850)", 64-bit image
    kWin7x86,    // the same version, 32-bit image
    kWin8,       // "6.2.9200.16384"
    kWin81,      // "6.3.9600.16384"
    kWin10,      // "10.0.19041.1"
    kNoVersion,  // no version resource
};

// bin/fixtures\ beside the running test program, with a trailing separator.
std::string FixtureDirectory();
// Empty for FakeCmd::kNone.
std::string FakeCmdPath(FakeCmd kind);
std::string ChildProgramPath();
// Whether 32-bit programs start here: Wine on a kernel without 32-bit support starts only 64-bit
// ones (docs/WINE.md); Windows PE of either kind starts its own kind, which is all the tool runs.
bool Runs32BitPrograms();
std::string ExplorerStubPath();

// A new empty folder under the temporary directory, removed with its contents on destruction.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Without a trailing separator.
    const std::string& path() const { return path_; }
    bool ok() const { return ok_; }

  private:
    std::string path_;
    bool ok_ = false;
};

struct OfflineWindowsLayout {
    FakeCmd system32 = FakeCmd::kWin7x64;
    FakeCmd sysnative = FakeCmd::kNone;
    bool explorer = true;
};

// A folder holding Windows\system32\cmd.exe, Windows\explorer.exe and optionally
// Windows\sysnative\cmd.exe, as an installation on another disk looks to the tool.
class OfflineWindowsRoot {
  public:
    explicit OfflineWindowsRoot(const OfflineWindowsLayout& layout = {});

    // The root folder, without a trailing separator.
    const std::string& path() const { return folder_.path(); }
    // False when a folder or a copy could not be made.
    bool ok() const { return ok_; }

  private:
    TempFolder folder_;
    bool ok_ = false;
};

// A free drive letter that reaches the folder for as long as the object lives. Under Wine it is
// a dosdevices link made through Wine's mount manager (DefineDosDevice names do not reach Wine's
// file lookup); on Windows it is a DefineDosDevice mapping, as subst makes.
class MappedDrive {
  public:
    explicit MappedDrive(const std::string& folder);
    ~MappedDrive();
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    // Upper-case letter, or 0 when no mapping could be made.
    char letter() const { return letter_; }
    // "P:\" for letter P.
    std::string root() const;

  private:
    char letter_ = 0;
    bool wine_ = false;
};

// Removes a folder and everything below it; false when something stayed.
bool RemoveFolderTree(const std::string& path);
// Copies a file, creating no folders; false on failure.
bool CopyFixture(const std::string& from, const std::string& to);

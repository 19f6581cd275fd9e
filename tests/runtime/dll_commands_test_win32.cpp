// Declared DLL commands under Wine: the library search order, ordinals, the messages of a
// command that cannot be resolved, and the stack check after every call.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "runtime/dll_commands.h"
#include "tests/support/test_support.h"

namespace {

DllWord Call(DllCommandEntry& e, std::initializer_list<DllWord> args) {
    return CallDllEntry(e, args.begin(), static_cast<int>(args.size()), 1);
}

TEST(DllCommands, EmptyLibraryNameIsFoundInKernel32First) {
    DllCommandEntry e{"", "GetCurrentProcessId", nullptr, nullptr};
    EXPECT_EQ(Call(e, {}), GetCurrentProcessId());
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(e.module, kernel);
    // The entry holds the real export, as the loader gives it to anyone who asks.
    EXPECT_EQ(e.address, reinterpret_cast<void*>(GetProcAddress(kernel, "GetCurrentProcessId")));
    // Cached: a second call goes through the address the entry holds and does not look the name
    // up again. An entry made to hold another export (with the same signature) calls that one.
    e.address = reinterpret_cast<void*>(GetProcAddress(kernel, "GetCurrentThreadId"));
    ASSERT_NE(e.address, nullptr);
    ASSERT_NE(GetCurrentThreadId(), GetCurrentProcessId()) << "the two answers must tell the exports apart";
    EXPECT_EQ(Call(e, {}), GetCurrentThreadId());
    EXPECT_EQ(e.address, reinterpret_cast<void*>(GetProcAddress(kernel, "GetCurrentThreadId")));
}

TEST(DllCommands, ShellExportIsFoundAfterTheOtherSystemLibrariesWereReleased) {
    // Mpr.dll is searched (and released again) before Shell32.dll; a process that had not loaded
    // it before must not have it loaded afterwards.
    const bool mprBefore = GetModuleHandleA("mpr.dll") != nullptr;
    DllCommandEntry e{"", "SHGetPathFromIDListA", nullptr, nullptr};
    char path[MAX_PATH] = "unchanged";
    EXPECT_EQ(Call(e, {0u, reinterpret_cast<DllWord>(path)}), 0u) << "a null item list has no path";
    EXPECT_EQ(e.module, GetModuleHandleA("shell32.dll"));
    if (!mprBefore) {
        EXPECT_EQ(GetModuleHandleA("mpr.dll"), nullptr);
    }
}

TEST(DllCommands, NamedLibrariesAndOrdinals) {
    DllCommandEntry copy{"kernel32.dll", "lstrcpyn", nullptr, nullptr};
    char buffer[8] = {};
    Call(copy, {reinterpret_cast<DllWord>(buffer), reinterpret_cast<DllWord>("hello"), 3u});
    EXPECT_STREQ(buffer, "he");

    // The test library lies beside the test program: found through the program's directory.
    DllCommandEntry byName{"tov_test_dll.dll", "TovAddTwo", nullptr, nullptr};
    EXPECT_EQ(Call(byName, {40u, 2u}), 42u);
    DllCommandEntry byOrdinal{"tov_test_dll", "#7", nullptr, nullptr};
    EXPECT_EQ(Call(byOrdinal, {40u, 2u}), 42u);
    // "#65543" is ordinal 7 too: only the low 16 bits count.
    DllCommandEntry byWideOrdinal{"tov_test_dll", "#65543", nullptr, nullptr};
    EXPECT_EQ(Call(byWideOrdinal, {1u, 1u}), 2u);

    // A name with a drive is handed to the loader unchanged.
    char full[MAX_PATH];
    GetModuleFileNameA(nullptr, full, MAX_PATH);
    std::strcpy(std::strrchr(full, '\\') + 1, "tov_test_dll.dll");
    DllCommandEntry byPath{full, "TovAddTwo", nullptr, nullptr};
    EXPECT_EQ(Call(byPath, {2u, 3u}), 5u);
}

TEST(DllCommands, TableEntriesCallTheRealApi) {
    EXPECT_EQ(CallDllCommand(kDllGetProcessHeap), reinterpret_cast<DllWord>(GetProcessHeap()));
    DWORD type = 99;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_NE(CallDllCommand(kDllGetBinaryTypeA, self, &type), 0u);
    EXPECT_EQ(type, static_cast<DWORD>(sizeof(void*) == 8 ? SCS_64BIT_BINARY : SCS_32BIT_BINARY));
}

TEST(DllCommandsDeathTest, MissingExportOrLibraryIsFatal) {
    DllCommandEntry noExport{"", "NoSuchExportAnywhere", nullptr, nullptr};
    EXPECT_EXIT(
        Call(noExport, {}), testing::ExitedWithCode(kFatalExitCode),
        FatalBoxWithText("运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“NoSuchExportAnywhere”\r\n"
                         "\r\n0, 0\r\n"));
    DllCommandEntry noLibrary{"no_such_library.dll", "Anything", nullptr, nullptr};
    EXPECT_EXIT(Call(noLibrary, {}), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("无法找到指定DLL库文件“no_such_library.dll”中的输出命令“Anything”"));
    // No fallback to another library when the named one lacks the export.
    DllCommandEntry wrongLibrary{"user32", "CreatePipe", nullptr, nullptr};
    EXPECT_EXIT(Call(wrongLibrary, {}), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("无法找到指定DLL库文件“user32”中的输出命令“CreatePipe”"));
}

#if defined(__i386__)
// Only the 32-bit calling convention lets a callee remove the arguments from the stack.
TEST(DllCommandsDeathTest, WrongArgumentCountIsStackError) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    // CloseHandle removes one argument; passing two leaves four bytes on the stack.
    EXPECT_EXIT(CallDllCommand(kDllCloseHandle, event, 0), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n\r\n67108865, 3\r\n"));
    // A cdecl function removes none of its arguments.
    DllCommandEntry cdeclEntry{"tov_test_dll", "TovCdeclAddTwo", nullptr, nullptr};
    EXPECT_EXIT(Call(cdeclEntry, {1u, 2u}), testing::ExitedWithCode(kFatalExitCode), FatalBoxContaining("错误代码：6"));
    // The right count passes.
    EXPECT_NE(CallDllCommand(kDllCloseHandle, event), 0u);
}
#endif

}  // namespace

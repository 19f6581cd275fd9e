// Shared helpers of the test programs.
#pragma once

#include <string>

// Exit code with which a fatal runtime error ends the process, as a death test sees it:
// ExitProcess(0xFFFFFFFF) reads back as -1 on Windows; exit(-1) as 255 on POSIX hosts.
#ifdef _WIN32
inline constexpr int kFatalExitCode = -1;
#else
inline constexpr int kFatalExitCode = 255;
#endif

// Upper-case hex of the bytes, as the test main prints fatal boxes: GBK bytes can look like
// regular-expression syntax, hex cannot.
inline std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

// Death-test pattern: a fatal box whose whole text is exactly `text`.
inline std::string FatalBoxWithText(const std::string& text) {
    return "fatal box caption=" + Hex("错误") + " style=0x10 text=" + Hex(text) + " end";
}
// Death-test pattern: a fatal box whose text contains `part`.
inline std::string FatalBoxContaining(const std::string& part) {
    return "fatal box caption=" + Hex("错误") + " style=0x10 text=\\w*" + Hex(part);
}

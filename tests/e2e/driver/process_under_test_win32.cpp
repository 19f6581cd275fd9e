// Starting and ending the program under test.
#include "tests/e2e/driver/process_under_test.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

struct Caseless {
    bool operator()(const std::string& a, const std::string& b) const { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }
};

// The driver's own environment with the changes applied, as CreateProcessA takes it: sorted
// "name=value" strings, each zero-terminated, ended by an empty one.
std::vector<char> EnvironmentBlock(const EnvironmentChanges& changes) {
    std::map<std::string, std::string, Caseless> variables;
    std::vector<std::string> hidden;  // "=C:" and friends keep their place first
    if (char* block = GetEnvironmentStringsA()) {
        for (const char* entry = block; *entry; entry += std::strlen(entry) + 1) {
            const std::string text = entry;
            const size_t equals = text.find('=', 1);
            if (text[0] == '=' || equals == std::string::npos)
                hidden.push_back(text);
            else
                variables[text.substr(0, equals)] = text.substr(equals + 1);
        }
        FreeEnvironmentStringsA(block);
    }
    for (const auto& [name, value] : changes) {
        if (value.empty())
            variables.erase(name);
        else
            variables[name] = value;
    }
    std::vector<char> out;
    auto append = [&out](const std::string& text) {
        out.insert(out.end(), text.begin(), text.end());
        out.push_back('\0');
    };
    for (const std::string& text : hidden)
        append(text);
    for (const auto& [name, value] : variables)
        append(name + "=" + value);
    out.push_back('\0');
    return out;
}

}  // namespace

ProcessUnderTest::~ProcessUnderTest() {
    Terminate();
}

bool ProcessUnderTest::Start(const std::string& program,
                             const std::string& arguments,
                             const EnvironmentChanges& changes) {
    Terminate();
    std::string line = "\"" + program + "\"";
    if (!arguments.empty())
        line += " " + arguments;
    // Chosen in one expression: assigning "." after the substring made GCC 12 see a memcpy onto
    // itself (-Wrestrict).
    const size_t slash = program.find_last_of("\\/");
    const std::string directory = slash == std::string::npos ? std::string(".") : program.substr(0, slash + 1);
    std::vector<char> environment = EnvironmentBlock(changes);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, environment.data(),
                          directory.c_str(), &startup, &info_) != FALSE;
}

bool ProcessUnderTest::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ProcessUnderTest::WaitForExit(DWORD timeoutMs, DWORD* code) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    DWORD exitCode = 0;
    GetExitCodeProcess(info_.hProcess, &exitCode);
    if (code)
        *code = exitCode;
    return true;
}

void ProcessUnderTest::Terminate() {
    if (info_.hProcess) {
        if (Running()) {
            TerminateProcess(info_.hProcess, 0xDEAD);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    info_ = {};
}

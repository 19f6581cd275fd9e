// The fatal runtime error report: box text, box, and the end of the process.
#include "runtime/fatal_error.h"

#include <cstdio>
#include <cstring>

#include "runtime/platform.h"
#include "runtime/program_exit.h"

namespace {

const char* const kRuntimeErrorMessages[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

FatalErrorNameLookup g_nameLookup = nullptr;
FatalBoxPresenter g_presenter = nullptr;

// Collects the box text without allocating through the runtime heap: the report must work
// when that heap is exhausted.
class TextBuilder {
  public:
    void Append(const char* s) {
        const size_t n = std::strlen(s);
        Reserve(length_ + n + 1);
        std::memcpy(data_ + length_, s, n + 1);
        length_ += n;
    }
    void AppendQuoted(const char* s) {
        Append("\"");
        Append(s);
        Append("\"");
    }
    const char* c_str() const { return data_ ? data_ : ""; }
    char* Detach() {
        char* d = data_;
        data_ = nullptr;
        return d;
    }
    ~TextBuilder() { PlatformHeapFree(data_); }

  private:
    void Reserve(size_t n) {
        if (n <= capacity_)
            return;
        size_t grown = capacity_ ? capacity_ * 2 : 256;
        while (grown < n)
            grown *= 2;
        char* bigger = static_cast<char*>(data_ ? PlatformHeapRealloc(data_, grown) : PlatformHeapAlloc(grown));
        if (bigger == nullptr)
            PlatformExitProcess(0xFFFFFFFFu);
        data_ = bigger;
        capacity_ = grown;
    }
    char* data_ = nullptr;
    size_t length_ = 0;
    size_t capacity_ = 0;
};

// Window identifiers carry the kind 2 in bits 24 to 27.
bool IsWindowIdentifier(uint32_t unit) {
    return ((unit >> 24) & 0xF) == 2;
}

void BuildText(TextBuilder& out, const char* message, int32_t code, uint32_t unit, int32_t position) {
    char number[48];
    out.Append("运行时出错!\r\n");
    if (code != 0) {
        std::snprintf(number, sizeof number, "%ld", static_cast<long>(code));
        out.Append("\r\n错误代码：");
        out.Append(number);
        out.Append("\r\n");
    }
    if (message != nullptr && message[0] != '\0') {
        out.Append("\r\n错误信息：");
        out.Append(message);
        out.Append("\r\n");
    }
    std::snprintf(number, sizeof number, "\r\n%ld, %ld", static_cast<long>(static_cast<int32_t>(unit)),
                  static_cast<long>(position));
    out.Append(number);
    if (unit != 0 && IsWindowIdentifier(unit)) {
        const char* windowName = nullptr;
        const char* controlName = nullptr;
        const int found = g_nameLookup ? g_nameLookup(unit, position, &windowName, &controlName) : 0;
        if (found == 0) {
            out.Append("\r\n未找到所指定的窗口");
        } else {
            out.Append("\r\n");
            out.AppendQuoted(windowName ? windowName : "");
            if (found == 2) {
                out.Append("\r\n");
                out.AppendQuoted(controlName ? controlName : "");
            } else {
                out.Append("\r\n未找到所指定的窗口组件");
            }
        }
    }
    out.Append("\r\n");
}

}  // namespace

const char* RuntimeErrorMessage(int32_t number) {
    if (number < 1 || number > 11)
        return nullptr;
    return kRuntimeErrorMessages[number - 1];
}

OwnedText FormatFatalErrorText(const char* message, int32_t code, uint32_t unit, int32_t position) {
    TextBuilder text;
    BuildText(text, message, code, unit, position);
    const size_t n = std::strlen(text.c_str());
    char* block = static_cast<char*>(RuntimeAlloc(n + 1));
    std::memcpy(block, text.c_str(), n + 1);
    return OwnedText(block);
}

void ReportFatalError(const char* message, int32_t code, uint32_t unit, int32_t position) {
    TextBuilder text;
    BuildText(text, message, code, unit, position);
    if (g_presenter)
        g_presenter(text.c_str(), "错误", 0x10);
    else
        PlatformShowFatalBox(text.c_str(), "错误", 0x10);
    ClearCleanupList();
    ExitProgram(-1);
}

void ReportRuntimeError(int32_t number, uint32_t unit, int32_t position) {
    ReportFatalError(RuntimeErrorMessage(number), number, unit, position);
}

void SetFatalErrorNameLookup(FatalErrorNameLookup lookup) {
    g_nameLookup = lookup;
}

void SetFatalBoxPresenter(FatalBoxPresenter presenter) {
    g_presenter = presenter;
}

// Reading the console mode's arguments.
#include "app/console/console_arguments.h"

#include <cstddef>
#include <string_view>

#include "runtime/text_rules.h"

namespace {

struct CommandSwitch {
    std::string_view name;
    ConsoleCommand command;
    size_t fewestOperands;
    size_t mostOperands;
};

constexpr CommandSwitch kCommands[] = {
    {"survey", ConsoleCommand::kSurvey, 0, 1}, {"precise", ConsoleCommand::kPrecise, 1, 1},
    {"fuzzy", ConsoleCommand::kFuzzy, 1, 1},   {"custom", ConsoleCommand::kCustom, 2, 2},
    {"verify", ConsoleCommand::kVerify, 1, 1},
};

bool IsSwitch(const std::string& arg) {
    return arg.size() >= 2 && (arg[0] == '/' || arg[0] == '-');
}

ConsoleRequest Wrong(std::string problem) {
    ConsoleRequest request;
    request.problem = std::move(problem);
    return request;
}

}  // namespace

ConsoleRequest ParseConsoleArguments(const std::vector<std::string>& args) {
    const CommandSwitch* chosen = nullptr;
    std::vector<std::string> operands;
    std::string logPath;
    bool logGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!IsSwitch(arg)) {
            operands.push_back(arg);
            continue;
        }
        // Switches are ASCII, read without case.
        const std::string_view name = std::string_view(arg).substr(1);
        if (name == "?") {
            ConsoleRequest request;
            request.usageAsked = true;
            return request;
        }
        if (EqualsIgnoringAsciiCase(name, "log")) {
            if (logGiven)
                return Wrong("/log 只能给出一次");
            if (i + 1 >= args.size() || args[i + 1].empty())
                return Wrong("/log 缺少文件名");
            logGiven = true;
            logPath = args[++i];
            continue;
        }
        const CommandSwitch* found = nullptr;
        for (const CommandSwitch& command : kCommands) {
            if (EqualsIgnoringAsciiCase(name, command.name))
                found = &command;
        }
        if (found == nullptr)
            return Wrong("未知的开关 " + arg);
        if (chosen != nullptr)
            return Wrong("只能给出一个命令");
        chosen = found;
    }
    if (chosen == nullptr)
        return Wrong("缺少命令");
    if (operands.size() < chosen->fewestOperands)
        return Wrong("/" + std::string(chosen->name) + " 缺少参数");
    if (operands.size() > chosen->mostOperands)
        return Wrong("/" + std::string(chosen->name) + " 的参数过多: " + operands[chosen->mostOperands]);
    for (const std::string& operand : operands) {
        if (operand.empty())
            return Wrong("/" + std::string(chosen->name) + " 的参数为空");
    }

    ConsoleRequest request;
    request.command = chosen->command;
    request.logPath = logPath;
    if (!operands.empty())
        request.target = operands[0];
    if (operands.size() > 1)
        request.folder = operands[1];
    return request;
}

const char* ConsoleUsageText() {
    return "用法:\r\n"
           "  TovUSB.exe                          打开窗口\r\n"
           "  TovUSB.exe /?                       显示本说明\r\n"
           "  TovUSB.exe /survey [ROOT]           试运行: 列出精准导入将注入的驱动及原因, 不写入目标系统\r\n"
           "  TovUSB.exe /precise ROOT            精准导入驱动到 ROOT 处的系统 (如 D:\\)\r\n"
           "  TovUSB.exe /fuzzy ROOT              模糊导入驱动到 ROOT 处的系统\r\n"
           "  TovUSB.exe /custom WINDIR FOLDER    把 FOLDER 中的驱动导入 Windows 目录为 WINDIR 的系统\r\n"
           "  TovUSB.exe /verify ROOT             检查 ROOT 处系统的驱动库: 索引匹配的每个设备是否有可用的驱动\r\n"
           "选项:\r\n"
           "  /log FILE                           报告同时追加写入 FILE\r\n"
           "开关不区分大小写, 也可以用 - 开头。在命令提示符中请用 start /wait TovUSB.exe ... 运行,\r\n"
           "以便等待结束并得到退出代码 (%ERRORLEVEL%)。\r\n"
           "退出代码:\r\n"
           "  0  成功\r\n"
           "  1  拒绝执行 (参数错误, 不是WinPE环境, 目标不是Windows7, 没有Explorer.exe)\r\n"
           "  2  没有可导入的驱动 (没有硬件列表, 没有支持的设备)\r\n"
           "  3  DISM失败或无法运行, 或被中断\r\n"
           "  4  程序初始化失败 (资源不存在, 解压失败, 工作盘空间不足)\r\n"
           "  5  目标系统的驱动库中仍有匹配的设备没有可用的驱动 (/precise 导入后, /verify)\r\n";
}

// Reading the DISM simulator's options: /Image:, /Add-Driver, /Driver:, /Recurse, /ForceUnsigned.
#include "tools/dism_sim/dism_request.h"

#include <string_view>

#include "runtime/text_rules.h"

namespace {

enum class Option { kImage, kAddDriver, kDriver, kRecurse, kForceUnsigned, kCount };

struct OptionSpec {
    const char* name;
    bool takesValue;
};

constexpr OptionSpec kOptions[] = {
    {"Image", true}, {"Add-Driver", false}, {"Driver", true}, {"Recurse", false}, {"ForceUnsigned", false},
};
static_assert(sizeof(kOptions) / sizeof(kOptions[0]) == static_cast<size_t>(Option::kCount));

DismParse Fail(std::string text) {
    DismParse result;
    result.error = std::move(text);
    return result;
}

}  // namespace

DismParse ParseDismArguments(const std::vector<std::string>& args) {
    bool seen[static_cast<size_t>(Option::kCount)] = {};
    DismRequest request;
    for (const std::string& arg : args) {
        if (arg.empty() || arg[0] != '/')
            return Fail("The option \"" + arg +
                        "\" is unknown. A path that contains spaces must be enclosed in quotation marks.");
        const size_t colon = arg.find(':');
        const std::string_view name =
            std::string_view(arg).substr(1, colon == std::string::npos ? arg.npos : colon - 1);
        size_t index = 0;
        while (index < static_cast<size_t>(Option::kCount) && !EqualsIgnoringAsciiCase(name, kOptions[index].name))
            ++index;
        if (index == static_cast<size_t>(Option::kCount))
            return Fail("The option \"" + arg + "\" is unknown.");
        const OptionSpec& spec = kOptions[index];
        if (seen[index])
            return Fail(std::string("The option /") + spec.name + " is given more than once.");
        seen[index] = true;
        const std::string value = colon == std::string::npos ? std::string() : arg.substr(colon + 1);
        if (spec.takesValue && value.empty())
            return Fail(std::string("The option /") + spec.name + " needs a value after its colon.");
        if (!spec.takesValue && colon != std::string::npos)
            return Fail(std::string("The option /") + spec.name + " takes no value.");
        switch (static_cast<Option>(index)) {
            case Option::kImage:
                request.image = value;
                break;
            case Option::kDriver:
                request.driver = value;
                break;
            case Option::kRecurse:
                request.recurse = true;
                break;
            case Option::kForceUnsigned:
                request.forceUnsigned = true;
                break;
            case Option::kAddDriver:
            case Option::kCount:
                break;
        }
    }
    if (!seen[static_cast<size_t>(Option::kImage)])
        return Fail("No image was named: the simulator services offline images given with /Image:<path>.");
    if (!seen[static_cast<size_t>(Option::kAddDriver)])
        return Fail("No servicing command was given: the simulator knows /Add-Driver only.");
    if (!seen[static_cast<size_t>(Option::kDriver)])
        return Fail("/Add-Driver needs /Driver:<folder or .inf file>.");
    DismParse result;
    result.ok = true;
    result.request = std::move(request);
    return result;
}

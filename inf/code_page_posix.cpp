// Code page conversions on the build host, through the C library's iconv.
#include "inf/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "inf/inf_text.h"

namespace {

std::string IconvName(uint32_t codePage) {
    return codePage == kCodePageUtf8 ? "UTF-8" : "CP" + std::to_string(codePage);
}

// Converts all of `in`; where a character cannot be converted, `replacement` stands for it and
// the converter steps over `skip(rest)` bytes (at least one), so every input ends the loop.
template <typename SkipFn>
bool Convert(std::string_view in,
             const std::string& from,
             const std::string& to,
             std::string_view replacement,
             SkipFn skip,
             std::string& out,
             bool* replaced) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    out.clear();
    out.reserve(in.size() * 2);
    char buffer[4096];
    char* source = const_cast<char*>(in.data());
    size_t left = in.size();
    while (left > 0) {
        char* target = buffer;
        size_t room = sizeof buffer;
        const size_t result = iconv(cd, &source, &left, &target, &room);
        out.append(buffer, static_cast<size_t>(target - buffer));
        if (result != static_cast<size_t>(-1) || errno == E2BIG)
            continue;
        // EILSEQ, or EINVAL for a character cut off by the end of the text.
        out.append(replacement);
        if (replaced)
            *replaced = true;
        size_t step = skip(std::string_view(source, left));
        step = step == 0 ? 1 : (step > left ? left : step);
        source += step;
        left -= step;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* target = buffer;
    size_t room = sizeof buffer;
    iconv(cd, nullptr, nullptr, &target, &room);
    out.append(buffer, static_cast<size_t>(target - buffer));
    iconv_close(cd);
    return true;
}

}  // namespace

bool AnsiToUtf8(std::string_view bytes, uint32_t codePage, std::string& utf8, bool* damaged) {
    return Convert(
        bytes, IconvName(codePage), "UTF-8", "\xEF\xBF\xBD", [](std::string_view) { return size_t{1}; }, utf8, damaged);
}

bool Utf8ToAnsi(std::string_view utf8, uint32_t codePage, std::string& ansi, bool* lossy) {
    return Convert(utf8, "UTF-8", IconvName(codePage), "?", Utf8SequenceLength, ansi, lossy);
}

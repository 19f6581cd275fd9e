// Fuzz target of the INF reader: any bytes, read for 32- and 64-bit Windows 7 in several code
// pages, give well-formed results, and the same text read through each of its encodings gives
// the same models; the quick reading of what a file serves agrees with the full one, and its two
// scans for section lines agree.
#include <string>
#include <vector>

#include "fuzz/fuzz_common.h"
#include "inf/driver_inf.h"
#include "inf/inf_syntax.h"
#include "inf/section_lines.h"
#include "inf/served_ids.h"

using fuzz::Escaped;
using fuzz::Require;

namespace {

// What the reader made of a file, as one text that two readings can be compared by.
std::string Summary(const DriverInf& inf) {
    std::string out = inf.opened ? "opened|" : "closed|";
    out += inf.className + "|" + inf.classGuid + "|" + inf.driverVer.text + "|" + inf.catalogFile + "\n";
    for (const InfModel& model : inf.models) {
        out += model.section + "|" + model.description + "|" + model.installSection;
        for (const HardwareId& id : model.ids)
            out += "|" + id.written;
        out += "\n";
    }
    return out;
}

bool WellFormedUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(std::string_view(text).substr(i));
        if (length == 0 || text[i] == '\0')
            return false;
        i += length;
    }
    return true;
}

void CheckWellFormed(const DriverInf& inf, const std::string& input) {
    Require(WellFormedUtf8(Summary(inf)), "texts are well-formed UTF-8 without zero bytes", Escaped(input));
    for (const InfModel& model : inf.models) {
        for (const HardwareId& id : model.ids) {
            Require(!id.written.empty(), "no empty identifier", Escaped(input));
            Require(id.upper == AsciiUpperCopy(id.written), "the compared form is the written one upper-cased",
                    Escaped(input));
        }
    }
    Require(inf.opened || inf.models.empty(), "a file Windows would not open serves nothing", Escaped(input));
}

std::string Utf16Le(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    auto unit = [&out](uint32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<uint8_t>(utf8[i]);
        const size_t length = Utf8SequenceLength(std::string_view(utf8).substr(i));
        uint32_t codePoint = length == 1 ? b : (length == 2 ? b & 0x1F : (length == 3 ? b & 0x0F : b & 0x07));
        for (size_t k = 1; k < length; ++k)
            codePoint = codePoint << 6 | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
        i += length == 0 ? 1 : length;
        if (codePoint >= 0x10000) {
            unit(0xD800 + ((codePoint - 0x10000) >> 10));
            unit(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            unit(codePoint);
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint32_t codePages[] = {936, 1252, 65001, 932};
    InfTarget target;
    target.architecture = (data[0] & 1) ? InfArchitecture::kX86 : InfArchitecture::kAmd64;
    target.ansiCodePage = codePages[(data[0] >> 1) % 4];
    target.language = (data[0] & 0x80) ? 0x0409 : 0x0804;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

    const DriverInf read = ReadDriverInf(input, target);
    CheckWellFormed(read, input);
    const ServedIds full = ServedIdsOf(read);
    const ServedIds quick = ReadServedIds(input, target);
    Require(quick.ids == full.ids && quick.opened == full.opened, "the quick reading serves what the full one does",
            Escaped(input));
    for (size_t width : {1, 2}) {
        const auto fast = FindSectionLines(input, width);
        const auto plain = FindSectionLines(input, width, UnitScan::kOneByOne);
        bool same = fast.has_value() == plain.has_value() && (!fast || fast->end == plain->end);
        for (size_t i = 0; same && fast && i < fast->lines.size(); ++i)
            same = i < plain->lines.size() && fast->lines[i].start == plain->lines[i].start &&
                   fast->UpperName(i) == plain->UpperName(i);
        same = same && (!fast || fast->lines.size() == plain->lines.size());
        Require(same, "the block scan finds the section lines the unit-by-unit one does", Escaped(input));
    }

    // The decoded text, given again with a UTF-8 or a UTF-16 byte-order mark, reads the same.
    const InfText text = DecodeInfText(input, target.ansiCodePage);
    const std::string expected = Summary(read);
    for (const std::string& again : {"\xEF\xBB\xBF" + text.utf8, Utf16Le(text.utf8)}) {
        const DriverInf reread = ReadDriverInf(again, target);
        Require(Summary(reread) == expected, "the text reads the same in every encoding",
                Escaped(input) + "\n" + Escaped(expected) + "\n" + Escaped(Summary(reread)));
        Require(ReadServedIds(again, target).ids == full.ids, "the quick reading serves the same in every encoding",
                Escaped(input));
    }
    return 0;
}

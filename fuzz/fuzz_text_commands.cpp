// Fuzz target of the searching, replacing, splitting and trimming text commands: on any GBK
// text, stray lead bytes included, they give what the plain reference versions give.
#include <string>
#include <vector>

#include "fuzz/fuzz_common.h"
#include "tests/runtime/text_reference.h"

namespace ref = text_reference;
using fuzz::AsString;
using fuzz::Escaped;
using fuzz::HeapText;
using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool small = in.ConsumeBool();
    const std::string text = fuzz::TakeText(in, 256, small);
    const std::string needle = fuzz::TakeText(in, 8, small);
    const std::string replacement = fuzz::TakeText(in, 8, small);
    const bool flag = in.ConsumeBool();
    const bool omitReplacement = in.ConsumeBool();
    const bool omitDelimiter = in.ConsumeBool();
    const std::optional<int32_t> position = fuzz::TakePosition(in, text.size());
    const std::optional<int32_t> count =
        in.ConsumeBool() ? std::nullopt : std::optional<int32_t>(in.ConsumeIntegralInRange<int32_t>(-2, 6));

    const OwnedText t = HeapText(text, in.ConsumeBool());
    const OwnedText n = HeapText(needle);
    const OwnedText r = HeapText(replacement);
    const std::string what = "text \"" + Escaped(text) + "\" needle \"" + Escaped(needle) + "\" replacement \"" +
                             Escaped(replacement) + "\" position " +
                             (position ? std::to_string(*position) : "omitted") + " count " +
                             (count ? std::to_string(*count) : "omitted") + (flag ? " flag" : "");

    Require(FindText(t.get(), n.get(), position, flag) == ref::FindText(text, needle, position, flag), "FindText",
            what);
    Require(FindTextReverse(t.get(), n.get(), position, flag) == ref::FindTextReverse(text, needle, position, flag),
            "FindTextReverse", what);

    const std::optional<const char*> newText = omitReplacement ? std::nullopt : std::optional<const char*>(r.get());
    const OwnedText replaced = ReplaceText(t.get(), n.get(), newText, position, count, flag);
    Require(AsString(replaced.get()) ==
                ref::ReplaceText(text, needle, omitReplacement ? std::string() : replacement, position, count, flag),
            "ReplaceText", what);

    const std::optional<const char*> delimiter = omitDelimiter ? std::nullopt : std::optional<const char*>(n.get());
    const TextArray pieces = SplitText(t.get(), delimiter, count);
    const std::vector<std::string> expected =
        ref::SplitText(text, omitDelimiter ? std::optional<std::string>() : std::optional<std::string>(needle), count);
    Require(pieces.size() == expected.size(), "SplitText count", what);
    for (uint32_t i = 0; i < pieces.size(); ++i)
        Require(AsString(pieces[i]) == expected[i], "SplitText piece", what);

    Require(AsString(TrimSpaces(t.get()).get()) == ref::TrimSpaces(text), "TrimSpaces", what);
    Require(AsString(RemoveAllSpaces(t.get()).get()) == ref::RemoveAllSpaces(text), "RemoveAllSpaces", what);
    return 0;
}

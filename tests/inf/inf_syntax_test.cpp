// The INF syntax: keys, values, quotes, comments and continuations as SetupAPI reads them.
#include "inf/inf_syntax.h"

#include <gtest/gtest.h>

#include "inf/inf_strings.h"

namespace {

// One entry, shown as key=value|value|... (or just the values when it has no key).
std::string Shown(const InfLine& line) {
    std::string out = line.hasKey ? line.key + "=" : "";
    for (size_t i = 0; i < line.values.size(); ++i)
        out += (i ? "|" : "") + line.values[i];
    return out;
}

TEST(InfSyntax, EntriesReadAsSetupApiReadsThem) {
    struct EntryCase {
        const char* text;   // the body of [S]
        const char* shown;  // its entries, each on a line of its own
    } cases[] = {
        {"  key  =  a ,  b  \r\n", "key=a|b"},
        {"k = \"  spaced  \", x\r\n", "k=  spaced  |x"},
        {"k = \"say \"\"hi\"\"\" ; comment\r\n", "k=say \"hi\""},
        {"k = \"semi;colon\", b ; tail, c\r\n", "k=semi;colon|b"},
        {"a, b = c\r\n", "a|b = c"},
        {"k = a = b\r\n", "k=a = b"},
        {"k = x=y\\z,\xE4\xB8\xAD\"q\"\r\n", "k=x=y\\z|\xE4\xB8\xADq"},
        {"k = inner \t words  kept\r\n", "k=inner \t words  kept"},
        {"k = install, \\\r\n    PCI\\VEN_8086&DEV_1E31, \\ ; continued\r\n    PCI\\CC_0C0330\r\n",
         "k=install|PCI\\VEN_8086&DEV_1E31|PCI\\CC_0C0330"},
        {"path = C:\\dir\\ , x\n", "path=C:\\dir\\|x"},
        {"k = \"two\r\nlines\"\r\nnext = 1\r\n", "k=two\r\nlines\nnext=1"},
        {"k = a,,b,\r\n", "k=a||b|"},
        {"; only a comment\r\n\r\n   \t\r\nlone\r", "lone"},
        {"k = before\x1A after = 1\r\n", "k=before"},
    };
    for (const EntryCase& c : cases) {
        const InfSyntax syntax = ParseInfSyntax(std::string("[S]\r\n") + c.text);
        ASSERT_FALSE(syntax.rejected) << c.text;
        const InfSection* section = syntax.Find("s");
        ASSERT_NE(section, nullptr);
        std::string shown;
        for (const InfLine& line : section->lines)
            shown += (shown.empty() ? "" : "\n") + Shown(line);
        EXPECT_EQ(shown, c.shown) << c.text;
    }
}

TEST(InfSyntax, SectionsMergeByNameAndBadLinesRefuseTheFile) {
    const InfSyntax merged = ParseInfSyntax("[Models]\na=1\n[Other]\nb=2\n[MODELS] trailing text\nc=3\n");
    ASSERT_EQ(merged.sections.size(), 2u);
    ASSERT_EQ(merged.Find("models")->lines.size(), 2u);
    EXPECT_EQ(merged.Find("models")->lines[1].number, 6u);

    struct RefusalCase {
        std::string text;
        const char* problem;
        uint32_t line;
    } cases[] = {
        {"stray = 1\n[S]\n", "entry outside any section", 1},
        {"[S]\nk=1\n[Unclosed\nk=2\n", "without its closing", 3},
        {"[" + std::string(256, 'x') + "]\n", "longer than 255", 1},
    };
    for (const RefusalCase& c : cases) {
        const InfSyntax syntax = ParseInfSyntax(c.text);
        EXPECT_TRUE(syntax.rejected) << c.text;
        ASSERT_FALSE(syntax.problems.empty());
        EXPECT_NE(syntax.problems[0].text.find(c.problem), std::string::npos) << syntax.problems[0].text;
        EXPECT_EQ(syntax.problems[0].line, c.line);
    }
    EXPECT_FALSE(ParseInfSyntax("[" + std::string(255, 'x') + "]\n").rejected);
}

TEST(InfStrings, LocaleSectionsComeFirstAndTokensAreReplacedOnce) {
    const InfSyntax syntax = ParseInfSyntax(
        "[Strings]\nName = \"Plain\"\nOnlyPlain = Fallback\nSelf = \"%Self%\"\nList = a, b\n"
        "[Strings.0004]\nName = Primary\n"
        "[strings.0804]\nname = Exact\n");
    struct SubstituteCase {
        uint16_t language;
        const char* text;
        const char* result;
    } cases[] = {
        {0x0804, "%NAME%", "Exact"},    {0x1004, "%Name%", "Primary"},
        {0x0409, "%Name%", "Plain"},    {0x0804, "%OnlyPlain%", "Fallback"},
        {0x0804, "%Self%!", "%Self%!"}, {0x0804, "100%% %Missing% %", "100% %Missing% %"},
        {0x0804, "%List%", "a,b"},      {0x0804, "a%Name%b%Name%", "aExactbExact"},
    };
    for (const SubstituteCase& c : cases) {
        const InfStrings strings(syntax, c.language);
        EXPECT_EQ(strings.Substitute(c.text), c.result) << c.text << " for " << c.language;
    }
}

}  // namespace

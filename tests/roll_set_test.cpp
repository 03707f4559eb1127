// The .rolls file: what is written reads back the same, a file written by
// hand in another editor opens, and no line is taken for what it is not.
#include "compare/roll_set.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace
{

using compare::ReadRollSet;
using compare::RollSet;
using compare::RollSetError;
using compare::View;

std::size_t ErrorLine(const std::string &text)
{
    try {
        ReadRollSet(text);
    } catch (const RollSetError &error) {
        return error.Line();
    }
    return 0;
}

TEST(RollSetTest, WrittenReadsBackTheSame)
{
    for (const View sense : { View::AtLeast, View::AtMost, View::Exactly }) {
        const RollSet set { { "# Rogue", "#" },
            { "2d20kh1+5", "let t = 2d6 in if t >= 10 then \"hit: strong\" else \"miss\"", "-3" },
            compare::Target { -12, sense },
            View::AtMost };
        EXPECT_EQ(ReadRollSet(compare::WriteRollSet(set)), set);
    }
    EXPECT_EQ(ReadRollSet(compare::WriteRollSet({ {}, { "1d6" }, {}, {} })),
        (RollSet { { "# Pipwright rolls" }, { "1d6" }, {}, {} }));
}

TEST(RollSetTest, HandWrittenFileOpens)
{
    const std::string text = "\xEF\xBB\xBF# My rogue\r\n\r\n  1d20+7  \r\n\tTarget : AT LEAST +15\r\n"
                             "   # a comment after spaces\r\nview:at most\r\n2d20kh1+7";
    const RollSet set = ReadRollSet(text);
    EXPECT_EQ(set.rolls, (std::vector<std::string> { "1d20+7", "2d20kh1+7" }));
    EXPECT_EQ(set.target, (compare::Target { 15, View::AtLeast }));
    EXPECT_EQ(set.view, View::AtMost);
    EXPECT_EQ(set.heading, std::vector<std::string> { "# My rogue" });
    EXPECT_EQ(ReadRollSet("").rolls.size(), 0u);
}

TEST(RollSetTest, SettingsAndRollsNeverTakenForEachOther)
{
    // A setting read as a roll would show as a roll with an error, not fail.
    const RollSet set = ReadRollSet("target: exactly 12\n1d6\n");
    EXPECT_EQ(set.rolls, std::vector<std::string> { "1d6" });
    EXPECT_EQ(set.target, (compare::Target { 12, View::Exactly }));
    // A label with a colon is a roll, and so is a name that begins like a keyword.
    const std::string labelled = "if 1d6 > 3 then \"target: hit\" else \"view: miss\"";
    EXPECT_EQ(ReadRollSet(labelled + "\nlet targets = 1d6 in targets\n").rolls,
        (std::vector<std::string> { labelled, "let targets = 1d6 in targets" }));
    EXPECT_FALSE(ReadRollSet(labelled).target);
    // A box's text that would come back as a setting or a comment is not written.
    EXPECT_THROW(compare::WriteRollSet({ {}, { "target: 3" }, {}, {} }), std::invalid_argument);
    EXPECT_THROW(compare::WriteRollSet({ {}, { "#1d6" }, {}, {} }), std::invalid_argument);
    EXPECT_TRUE(compare::ReadsAsRoll("  2d6 "));
}

TEST(RollSetTest, BadLinesNamedByNumber)
{
    EXPECT_EQ(ErrorLine("1d6\n\ntarget: 15\n"), 3u);
    EXPECT_EQ(ErrorLine("1d6\ntarget: at least fifteen\n"), 2u);
    EXPECT_EQ(ErrorLine("target: at least 1000000000\n"), 1u);
    EXPECT_EQ(ErrorLine("view: at least 3\n"), 1u);
    EXPECT_EQ(ErrorLine("view: exactly\r\nview: exactly\r\n"), 2u);
    EXPECT_EQ(ErrorLine("# fine\ncolour: red\n"), 2u);
    EXPECT_EQ(ErrorLine("1d6\n2d6 \xC3\n"), 2u);
    try {
        ReadRollSet("sides: 6");
        FAIL();
    } catch (const RollSetError &error) {
        EXPECT_STREQ(error.what(), "line 1: 'sides:' is no setting; a file has 'target:' and 'view:'");
    }
}

} // namespace

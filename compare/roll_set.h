#pragma once

// A set of rolls as a .rolls file holds it: UTF-8 text, one roll per line,
// with the target and the view on lines of their own:
//
//   # Rogue, level 5
//   target: at least 15
//   view: at least
//   1d20+7
//   2d20kh1+7
//
// Blank lines and lines starting with '#' are skipped. A line that starts
// with a word and a colon is a setting: the notation has no colon outside
// labels, and a label stands in quotes, so no roll is read as a setting and
// no setting as a roll. Rolls are kept as written, to be checked as typed
// ones are.

#include "compare/roll.h"
#include "compare/view.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace compare
{

struct RollSet {
    // The comment lines a file starts with, '#' and all, written back at its
    // head so that a name given by hand outlives a save.
    std::vector<std::string> heading;
    std::vector<std::string> rolls;
    // Where a file names none, the opener's defaults stand.
    std::optional<Target> target;
    std::optional<View> view;

    bool operator==(const RollSet &) const = default;
};

// A line that cannot be read; line counts from 1. what() says why in
// English; the window says it in its own language from the fault.
class RollSetError : public std::runtime_error
{
public:
    enum class Fault { NotText, BadTarget, BadTotal, BadView, SecondTarget, SecondView, UnknownSetting };
    RollSetError(std::size_t line, Fault fault, std::string detail = {});
    std::size_t Line() const;
    Fault Kind() const;
    // The total or the keyword that is wrong, as written.
    const std::string &Detail() const;

private:
    std::size_t m_line;
    Fault m_fault;
    std::string m_detail;
};

// The target's total is within this of zero, as the window's box holds it.
inline constexpr std::int64_t kLargestTarget = 999'999'999;

// Reads a file's text: a byte order mark, CRLF and CR line ends are taken as
// well. Throws RollSetError at the first line it cannot read.
RollSet ReadRollSet(std::string_view text);

// Whether roll, trimmed, reads back from a file as itself: no comment, no
// setting, and not empty, which no roll typed in the notation is.
bool ReadsAsRoll(std::string_view roll);

// The text ReadRollSet reads back as the same set, rolls trimmed and empty
// ones left out. Throws std::invalid_argument for a roll that would read
// back as something else.
std::string WriteRollSet(const RollSet &set);

// How the file and the command line name a view: "exactly", "at least",
// "at most", the same in every language.
std::string ViewName(View view);

} // namespace compare

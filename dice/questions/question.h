#pragma once

// A question about rolls, beyond one roll of the notation: throws named once
// and read several times (let), results chosen by conditions (if), results
// that are labels, a roll thrown several times as one die (Nd(A)), and pools
// read by position and by matches. Each part of the notation inside it is a
// roll of its own, thrown independently of every other; only a name stands
// for the same throw wherever it is read.

#include "dice/notation/expression.h"
#include "dice/pools/pool.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dice
{

// What a form gives: totals, a condition (true is 1, false 0), or labels.
enum class Gives { Totals, Condition, Labels };

struct Form {
    enum class Kind {
        Roll, // a roll of the notation, or a number: `roll`
        Name, // a named throw: `slot`
        Label, // `label`, an index into Question::labels
        Let, // operands: each named throw in turn, then what reads them; slots from `slot` on
        If, // operands: condition, then, else
        Compare, // operands: two rolls compared by `comparison`
        And, // operands: two conditions
        Or,
        Not, // operands: one condition
        Sum, // operands, each with its sign in `signs`
        Product, // operands: two
        Divide, // operands: two, the quotient rounded by `rounding`
        Abs, // operands: one
        Pick, // min or max: operands: two, `pick` Highest for max
        PoolRead, // operands: the pool; `reading`
        Repeat, // N throws of operand 0 as members of a group: `times`, then the modifiers
    };
    Kind kind = Kind::Roll;
    std::size_t at = 0; // where it begins in the text
    std::size_t end = 0; // where it ends
    Gives gives = Gives::Totals;

    Expression roll;
    std::optional<std::int64_t> number; // a Roll that is a number alone
    int slot = 0;
    int label = 0;
    std::vector<Form> operands;
    std::vector<int> signs;
    Compare::Kind comparison = Compare::Kind::Equal;
    Node::Rounding rounding = Node::Rounding::Floor;
    Pick pick = Pick::All;
    int kept = 0;
    pools::Reading reading;
    int times = 0;
    Reroll reroll = Reroll::None;
    Compare rerollOn;
    Compare success;
    Compare failure;

    // Whether it reads no name bound outside it: its roll is the same
    // whatever the names around it stand for.
    bool closed = true;
    int reads = INT_MAX; // the first slot of any name read inside it
    // The totals it can reach: `highest` is empty where it has none.
    std::int64_t lowest = 0;
    std::optional<std::int64_t> highest;
    // How many different throws a let that names it reads, at most: the
    // multisets of a pool, the totals of any other roll.
    std::int64_t throws = 1;
    // A pool: dice that pool functions can read die by die. Its dice show
    // faces from faceLowest to faceHighest; a group's members are operands.
    bool pool = false;
    int poolDice = 0;
    std::int64_t faceLowest = 0;
    std::int64_t faceHighest = 0;
};

struct Question {
    Form root;
    std::vector<std::string> labels; // in the order first written
    int slots = 0; // named throws in all
};

} // namespace dice

#include "window/notation_forms.h"

#include <QtGlobal>

namespace window
{

namespace
{

constexpr NotationForm kForms[] = {
    { "NdS",
        QT_TRANSLATE_NOOP(
            "window::NotationForms", "N dice (1 to 100; dS alone is one die) of S sides (2 to 1000), summed"),
        "3d6" },
    { "Nd%", QT_TRANSLATE_NOOP("window::NotationForms", "N dice of 100 sides"), "1d%" },
    { "NdF", QT_TRANSLATE_NOOP("window::NotationForms", "N Fudge dice, with the faces -1, 0 and +1"), "4dF" },
    { "NdSkhK, NdSkK",
        QT_TRANSLATE_NOOP("window::NotationForms", "keep the highest K of the N dice, summed: advantage"),
        "2d20kh1" },
    { "NdSklK",
        QT_TRANSLATE_NOOP("window::NotationForms", "keep the lowest K of the N dice: disadvantage"),
        "2d20kl1" },
    { "NdSdlK, NdSdK, NdSdhK",
        QT_TRANSLATE_NOOP("window::NotationForms", "drop the lowest, or the highest, K dice"),
        "4d6d1" },
    { "d{a,b,...}",
        QT_TRANSLATE_NOOP(
            "window::NotationForms", "one die with the listed faces, equally likely; a repeat counts twice"),
        "d{0,0,1,1,2,3}" },
    { "NdF.1",
        QT_TRANSLATE_NOOP("window::NotationForms", "Fudge dice with one -1, one +1 and four blank faces"),
        "4dF.1" },
    { "!, !!",
        QT_TRANSLATE_NOOP("window::NotationForms",
            "explode on the top face or a compare point: ! rolls an extra die, !! adds it into the die that "
            "exploded"),
        "1d8!!" },
    { "!p, !!p", QT_TRANSLATE_NOOP("window::NotationForms", "penetrate: each extra roll counts one less"), "1d6!p" },
    { "r, ro",
        QT_TRANSLATE_NOOP(
            "window::NotationForms", "reroll the lowest face, or a compare point, until it is not, or once"),
        "2d6ro<3" },
    { "minN, maxN",
        QT_TRANSLATE_NOOP("window::NotationForms", "a roll below N counts as N, one above N as N"),
        "4d6min2" },
    { ">=N, >N, <=N, <N, =N",
        QT_TRANSLATE_NOOP("window::NotationForms", "count the dice that meet it, exploded ones included"),
        "12d6>=5" },
    { "fC",
        QT_TRANSLATE_NOOP("window::NotationForms", "after a count, take one off for each die that meets C"),
        "8d10>=8f1" },
    { "s, sa, sd, cs..., cf...",
        QT_TRANSLATE_NOOP("window::NotationForms", "sorting and critical marks, read and ignored"),
        "4d6kh3sd" },
    { "+, -", QT_TRANSLATE_NOOP("window::NotationForms", "add or take away dice and whole numbers"), "1d8+2d6+3" },
    { "( ... )", QT_TRANSLATE_NOOP("window::NotationForms", "brackets, as in arithmetic"), "2*(2d6+3)" },
    { "A * B", QT_TRANSLATE_NOOP("window::NotationForms", "the product of two rolls or numbers"), "1d100 * 1d100" },
    { "floor(A / B), ceil(A / B), round(A / B)",
        QT_TRANSLATE_NOOP("window::NotationForms",
            "division rounded down, up, or to the nearest, halves away from zero; B may be a roll that cannot "
            "be 0"),
        "floor((8d6)/2)" },
    { "abs(A), max(A, B), min(A, B)",
        QT_TRANSLATE_NOOP("window::NotationForms", "the size of A, the larger of two rolls, the smaller"),
        "max(1d20, 1d20)" },
    { "{A, B, ...}", QT_TRANSLATE_NOOP("window::NotationForms", "a group of 2 to 20 rolls, summed"), "{1d6, 1d8}" },
    { "{...}khK, klK, dhK, dlK",
        QT_TRANSLATE_NOOP("window::NotationForms", "keep or drop whole members of a group by their totals"),
        "{1d8!!, 1d6!!}kh1" },
    { "{...}>=N, fC",
        QT_TRANSLATE_NOOP(
            "window::NotationForms", "count the members that meet a compare point, less those that meet C"),
        "{1d20+5, 1d20+5, 1d20+5}>=15" },
    { "let NAME = A in B",
        QT_TRANSLATE_NOOP("window::NotationForms",
            "throw A once: every NAME in B is that same throw; let x = A, y = C in B names several"),
        "let atk = 1d20 in if atk = 20 then 2d8+3 else if atk + 5 >= 15 then 1d8+3 else 0" },
    { "if COND then A else B",
        QT_TRANSLATE_NOOP("window::NotationForms",
            "A where COND holds, else B; COND compares two rolls with =, <>, <, <=, >, >=, joined by and, or "
            "and not"),
        "if 1d20 + 7 >= 1d20 + 5 then 1 else 0" },
    { "\"label\"",
        QT_TRANSLATE_NOOP("window::NotationForms",
            "a result that is a label of 1 to 40 characters; a roll gives labels or totals, not both"),
        "let t = 2d6+1 in if t >= 10 then \"strong hit\" else if t >= 7 then \"weak hit\" else \"miss\"" },
    { "Nd(A)",
        QT_TRANSLATE_NOOP("window::NotationForms",
            "N throws of the roll A, summed; keep, drop, counts, r and ro after it act on the throws"),
        "6d(4d6kh3)kh1" },
    { "highest(P), lowest(P), nth(K, P)",
        QT_TRANSLATE_NOOP("window::NotationForms", "the highest, lowest or K-th highest die of a pool"),
        "nth(2, 4d6)" },
    { "count(POINT, P)",
        QT_TRANSLATE_NOOP("window::NotationForms", "the dice of a pool that meet a compare point; a bare number is ="),
        "count(>=5, 12d6)" },
    { "largest_count(P), sets(K, P), largest_straight(P)",
        QT_TRANSLATE_NOOP("window::NotationForms",
            "the most dice showing one face; the faces shown on K dice or more; the longest run of faces in a "
            "row"),
        "largest_count(5d6)" },
};

} // namespace

std::span<const NotationForm> NotationForms()
{
    return kForms;
}

} // namespace window

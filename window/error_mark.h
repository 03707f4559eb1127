#pragma once

// A notation error marked in the box that holds the roll: the characters it
// is about get a tint and a wavy underline, and the caret goes to them when
// the box takes the focus from the keyboard. The error carries a byte offset
// into the UTF-8 text the parser read; a box counts in UTF-16 units, and the
// user counts characters.

#include "dice/dice.h"

#include <QString>

#include <optional>

class QLineEdit;

namespace window
{

// Characters of a box's text, in the box's own (UTF-16) indices.
struct ErrorSpan {
    int start = 0;
    int length = 0;

    bool operator==(const ErrorSpan &) const = default;
};

// The characters of typed that error is about: the word or character it
// names where the text there is that, else the one character at its place;
// none at the end of the text.
ErrorSpan SpanOf(const QString &typed, const dice::ParseError &error);

// The error's place as the user counts characters, from 1.
int CharacterNumber(const QString &typed, const dice::ParseError &error);

// Marks span in box, or takes the mark away with none.
void MarkError(QLineEdit &box, std::optional<ErrorSpan> span);
std::optional<ErrorSpan> MarkedError(const QLineEdit &box);

} // namespace window

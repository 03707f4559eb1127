#pragma once

// A dice notation error in the user's language, made from the error's code
// and what it names. The words are the command line's, which dice::ErrorMessage
// writes; the limits come from the constants the parser enforces.

#include "dice/dice.h"

#include <QCoreApplication>
#include <QString>

namespace window
{

class ParseErrors
{
    Q_DECLARE_TR_FUNCTIONS(window::ParseErrors)

public:
    // "cannot keep 3 of 2 dice".
    static QString Message(const dice::ParseError &error);
    // Where the error is in typed, counted in characters from 1, and what it is.
    static QString Status(const dice::ParseError &error, const QString &typed);

private:
    // The errors of let, if, labels, Nd(A) and pool functions.
    static QString QuestionMessage(const dice::ParseError &error);
};

} // namespace window

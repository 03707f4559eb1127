#pragma once

// Every form of the dice notation, as the README's tables list them, with a
// meaning in a line and one of the README's examples. The help dialog reads
// this list; a test holds it to the README.

#include <span>

namespace window
{

struct NotationForm {
    // The README's form column, its code spans joined by ", ".
    const char *form;
    // English, translated in the context "window::NotationForms".
    const char *meaning;
    // A whole roll, typed as the README writes it.
    const char *example;
};

std::span<const NotationForm> NotationForms();

} // namespace window

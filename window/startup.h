#pragma once

namespace window
{

// Opens the calculator's window and returns once it has been closed.
void Main();

} // namespace window

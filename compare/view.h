#pragma once

// How a plot or a table reads the chance of one total: of throwing it
// exactly, at least it or at most it. The chart of the calculator and the
// Compare window both read it, and neither needs more of the other's engine.

namespace compare
{

enum class View { Exactly, AtLeast, AtMost };

} // namespace compare

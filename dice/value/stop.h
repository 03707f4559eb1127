#pragma once

// What a long count checks to know that nobody waits for its answer any more.
// It is std::stop_token wherever the standard library has one. The libc++ of
// Emscripten releases before LLVM 18 has none; there a count runs alone in a
// Web Worker, which is stopped by ending the worker, so nothing asks it to
// stop on the way.

#include <version>

#if defined(__cpp_lib_jthread)
#include <stop_token>
#endif

namespace dice
{

#if defined(__cpp_lib_jthread)
using StopToken = std::stop_token;
#else
class StopToken
{
public:
    bool stop_requested() const noexcept
    {
        return false;
    }
};
#endif

} // namespace dice

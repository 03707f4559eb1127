#pragma once

// The program's run-time errors. A routine that meets one abandons its work and
// the error unwinds to the Compute command, the only place that maps errors to
// messages for the user.

#include <stdexcept>

namespace runtime
{

class RuntimeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A 16- or 32-bit integer operation left its range, or a number text lies
// outside the range of the whole number it is converted to.
class OverflowError : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

// A text could not be read as a number at all.
class ConversionError : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

// A floating-point operation was invalid, divided by zero or overflowed.
class FloatingPointError : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

// An index fell outside the bounds of an array.
class SubscriptError : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

} // namespace runtime

// Any bytes through the numeric test and the three conversions. The numeric
// test decides which error a conversion may throw; the conversions agree with
// each other and with the C library's strtod.

#include "numtext/parse.h"
#include "runtime/errors.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace
{

enum class Outcome { Value, Overflow, Conversion };

template <typename T> struct Result {
    Outcome outcome = Outcome::Value;
    T value {};
};

[[noreturn]] void Fail(const char *what, std::string_view text)
{
    std::fprintf(stderr, "violated: %s for \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    __builtin_trap();
}

template <typename Convert> auto Run(Convert convert, std::string_view text) -> Result<decltype(convert(text))>
{
    try {
        return { Outcome::Value, convert(text) };
    } catch (const runtime::OverflowError &) {
        return { Outcome::Overflow, {} };
    } catch (const runtime::ConversionError &) {
        return { Outcome::Conversion, {} };
    } catch (...) {
        Fail("unexpected exception", text);
    }
}

// The rounding rule stated independently of the code: nearest whole number,
// halves to the even one, and out of range past the last representable half.
template <typename Int> void CheckWhole(const Result<Int> &whole, double value, std::string_view text)
{
    const double low = static_cast<double>(INT64_C(-1) << (8 * sizeof(Int) - 1)) - 0.5;
    const double high = -low - 1.0;
    const bool fits = value >= low && value < high;
    if (whole.outcome != (fits ? Outcome::Value : Outcome::Overflow))
        Fail("whole-number range", text);
    if (!fits)
        return;
    const double distance = std::fabs(static_cast<double>(whole.value) - value);
    if (distance > 0.5 || (distance == 0.5 && whole.value % 2 != 0))
        Fail("whole-number rounding", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const bool numeric = numtext::IsNumeric(text);
    const auto real = Run(numtext::ToDouble, text);
    const auto int32 = Run(numtext::ToInt32, text);
    const auto int16 = Run(numtext::ToInt16, text);

    if (!numeric) {
        if (real.outcome != Outcome::Conversion || int32.outcome != Outcome::Conversion
            || int16.outcome != Outcome::Conversion)
            Fail("a text that is not numeric converted", text);
        return 0;
    }
    if (real.outcome == Outcome::Conversion || int32.outcome == Outcome::Conversion
        || int16.outcome == Outcome::Conversion)
        Fail("a numeric text failed to convert", text);
    if (int16.outcome == Outcome::Value && (int32.outcome != Outcome::Value || int32.value != int16.value))
        Fail("16-bit and 32-bit conversions disagree", text);

    // strtod reads a superset of the numeric grammar, and "C" is the locale
    // of a process that never calls setlocale.
    const std::string terminated(text);
    const double expected = std::strtod(terminated.c_str(), nullptr);
    if (std::isinf(expected)) {
        if (real.outcome != Outcome::Overflow || int32.outcome != Outcome::Overflow
            || int16.outcome != Outcome::Overflow)
            Fail("a huge value did not overflow", text);
        return 0;
    }
    if (real.outcome != Outcome::Value || real.value != expected || std::signbit(real.value) != std::signbit(expected))
        Fail("ToDouble differs from strtod", text);
    CheckWhole(int32, real.value, text);
    CheckWhole(int16, real.value, text);
    return 0;
}

#include "dice/questions/questions.h"

#include "dice/evaluate/evaluate.h"
#include "dice/parse/parse.h"
#include "dice/questions/answer.h"
#include "dice/questions/reader.h"
#include "dice/questions/words.h"

#include <limits>
#include <memory>

namespace dice
{

Expression Parse(std::string_view text)
{
    // A roll alone reads as it always has, whatever questions can ask.
    if (!detail::AsksQuestion(text))
        return ParseRoll(text);
    Expression expression;
    expression.question = std::make_shared<const Question>(detail::ReadQuestion(text));
    return expression;
}

Distribution Evaluate(const Expression &expression, dice::StopToken stop)
{
    return Evaluate(expression, stop, std::numeric_limits<std::int64_t>::min());
}

Distribution Evaluate(const Expression &expression, dice::StopToken stop, std::int64_t through)
{
    if (expression.question)
        return detail::Answer(*expression.question, stop, through);
    return EvaluateRoll(expression, stop, through);
}

} // namespace dice

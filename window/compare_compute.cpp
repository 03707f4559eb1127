#include "window/compare_compute.h"

#include "dice/text.h"

#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

namespace window
{

double Share(const mpz_class &part, const mpz_class &whole)
{
    if (sgn(whole) == 0)
        return 0.0;
    long partExponent = 0;
    long wholeExponent = 0;
    const double a = mpz_get_d_2exp(&partExponent, part.get_mpz_t());
    const double b = mpz_get_d_2exp(&wholeExponent, whole.get_mpz_t());
    return std::ldexp(a / b, static_cast<int>(partExponent - wholeExponent));
}

mpz_class TargetOutcomes(const dice::Distribution &distribution, std::int64_t target, rollstats::View sense)
{
    std::int64_t first = target;
    std::int64_t last = target;
    if (sense == rollstats::View::AtLeast)
        last = std::max(target, distribution.Highest());
    else if (sense == rollstats::View::AtMost)
        first = std::min(target, distribution.lowest);
    return dice::RangeOutcomes(distribution, first, last);
}

std::shared_ptr<const RollResult> CountRoll(
    const std::string &text, const dice::Expression &expression, std::stop_token stop)
{
    auto result = std::make_shared<RollResult>();
    result->expression = text;
    result->distribution = dice::Evaluate(expression, stop);
    result->statistics = dice::Summarize(result->distribution);
    const auto &counts = result->distribution.counts;
    const mpz_class &whole = result->distribution.outcomes;
    const std::size_t size = counts.size();
    auto &[exactly, atLeast, atMost] = result->percents;
    exactly.resize(size);
    atLeast.resize(size);
    atMost.resize(size);
    mpz_class sum;
    for (std::size_t i = 0; i < size; ++i) {
        exactly[i] = Share(counts[i], whole) * 100;
        sum += counts[i];
        atMost[i] = Share(sum, whole) * 100;
    }
    sum = 0;
    for (std::size_t i = size; i-- > 0;) {
        sum += counts[i];
        atLeast[i] = Share(sum, whole) * 100;
    }
    if (stop.stop_requested())
        throw dice::Cancelled();
    return result;
}

RollComputer::RollComputer(QObject *parent)
    : QObject(parent)
{
    // One core stays free for the window on a small machine.
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

RollComputer::~RollComputer()
{
    for (auto &[slot, request] : m_running)
        request.stop.request_stop();
    m_pool.waitForDone();
}

void RollComputer::Start(std::uint64_t slot, const std::string &text, const dice::Expression &expression)
{
    Cancel(slot);
    Request &request = m_running[slot];
    request.number = ++m_requests;
    const std::uint64_t number = request.number;
    m_pool.start([this, slot, number, text, expression, stop = request.stop.get_token()] {
        RollAnswer answer;
        try {
            answer.result = CountRoll(text, expression, stop);
        } catch (const dice::Cancelled &) {
            return;
        } catch (const std::exception &error) {
            answer.error = error.what();
        }
        QMetaObject::invokeMethod(
            this, [this, slot, number, answer] { Deliver(slot, number, answer); }, Qt::QueuedConnection);
    });
}

void RollComputer::Cancel(std::uint64_t slot)
{
    const auto found = m_running.find(slot);
    if (found == m_running.end())
        return;
    found->second.stop.request_stop();
    m_running.erase(found);
}

bool RollComputer::Busy(std::uint64_t slot) const
{
    return m_running.contains(slot);
}

void RollComputer::Deliver(std::uint64_t slot, std::uint64_t number, const RollAnswer &answer)
{
    const auto found = m_running.find(slot);
    // An answer to a request that was cancelled or replaced meanwhile.
    if (found == m_running.end() || found->second.number != number)
        return;
    m_running.erase(found);
    if (Finished)
        Finished(slot, answer);
}

} // namespace window

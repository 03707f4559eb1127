#include "window/compare_compute.h"

#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <exception>
#include <utility>

namespace window
{

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
    Launch(slot, [text, expression](const std::stop_token &stop) {
        RollAnswer answer;
        answer.result = std::make_shared<const compare::RollResult>(compare::CountRoll(text, expression, stop));
        return answer;
    });
}

void RollComputer::StartHeadToHead(std::uint64_t slot,
    std::vector<std::shared_ptr<const compare::RollResult>> rolls,
    std::shared_ptr<const compare::HeadToHead> before)
{
    Launch(slot, [rolls = std::move(rolls), before = std::move(before)](const std::stop_token &stop) {
        RollAnswer answer;
        answer.headToHead = std::make_shared<const compare::HeadToHead>(compare::FaceOff(rolls, before.get(), stop));
        return answer;
    });
}

void RollComputer::Launch(std::uint64_t slot, std::function<RollAnswer(const std::stop_token &)> work)
{
    Cancel(slot);
    Request &request = m_running[slot];
    request.number = ++m_requests;
    // A thread for every slot counting, so that a roll that takes long holds
    // up none of the others.
    m_pool.setMaxThreadCount(std::max(m_pool.maxThreadCount(), static_cast<int>(m_running.size())));
    const std::uint64_t number = request.number;
    m_pool.start([this, slot, number, work = std::move(work), stop = request.stop.get_token()] {
        RollAnswer answer;
        try {
            answer = work(stop);
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

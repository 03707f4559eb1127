#pragma once

// The Compare window counts its rolls on worker threads, so that a roll of a
// hundred dice never holds up typing. Each roll row has its own slot: a new
// request for a slot asks the one still running there to stop, and only the
// newest request's answer comes back, on the thread that owns the computer.

#include "compare/head_to_head.h"
#include "compare/roll.h"
#include "dice/dice.h"

#include <QObject>
#include <QThreadPool>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

namespace window
{

// What comes back for a request: a result, or why there is none.
struct RollAnswer {
    std::shared_ptr<const compare::RollResult> result;
    std::shared_ptr<const compare::HeadToHead> headToHead;
    std::string error;
};

class RollComputer : public QObject
{
public:
    explicit RollComputer(QObject *parent);
    ~RollComputer() override;

    void Start(std::uint64_t slot, const std::string &text, const dice::Expression &expression);
    // Sets every roll against every other, taking what `before` knows.
    void StartHeadToHead(std::uint64_t slot,
        std::vector<std::shared_ptr<const compare::RollResult>> rolls,
        std::shared_ptr<const compare::HeadToHead> before);
    // Drops whatever the slot is counting.
    void Cancel(std::uint64_t slot);
    bool Busy(std::uint64_t slot) const;

    std::function<void(std::uint64_t slot, const RollAnswer &answer)> Finished;

private:
    struct Request {
        std::uint64_t number = 0;
        std::stop_source stop;
    };
    void Launch(std::uint64_t slot, std::function<RollAnswer(const std::stop_token &)> work);
    void Deliver(std::uint64_t slot, std::uint64_t number, const RollAnswer &answer);

    std::map<std::uint64_t, Request> m_running;
    std::uint64_t m_requests = 0;
    // Last, so that it waits for the workers before anything they reach goes.
    QThreadPool m_pool;
};

} // namespace window

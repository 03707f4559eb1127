#pragma once

// A line on standard error that tells a person at a terminal what is being
// counted, once the count has taken a second; scripts, whose standard error
// is no terminal, never see it. Ctrl+C clears it and ends the program as the
// signal would.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace cli
{

class Progress
{
public:
    // `after` is how long work goes on before the line appears.
    explicit Progress(std::chrono::milliseconds after);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // What is being counted now, as the line names it.
    void Counting(const std::string &what);
    // Takes the line off the screen for good, before the answer or an error.
    void Clear();

private:
    void Show(std::stop_token stop);

    std::chrono::milliseconds m_after;
    std::chrono::steady_clock::time_point m_start;
    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::string m_what;
    std::jthread m_thread; // last, so that it starts once the rest is made
};

// How long work goes on before the line appears: a second, or what
// PIPWRIGHT_PROGRESS_AFTER_MS says, for tests that cannot wait.
std::chrono::milliseconds ProgressDelay();

} // namespace cli

#include "cli/progress.h"

#include <csignal>
#include <cstdlib>
#include <signal.h>
#include <string_view>

#include <unistd.h>

namespace cli
{

namespace
{

constexpr std::string_view clearLine = "\r\033[K";

// Set once the line has been written, so that Ctrl+C knows to clear it.
volatile std::sig_atomic_t shown = 0;

void Write(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
        if (written <= 0)
            return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

extern "C" void Interrupted(int signal)
{
    if (shown != 0)
        Write(clearLine);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Ctrl+C is taken by the thread that writes the line, so that nothing of
// the line can follow the clearing: the other threads block the signal while
// the line may be shown.
void BlockInterrupt(int how)
{
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(how, &interrupt, nullptr);
}

} // namespace

std::chrono::milliseconds ProgressDelay()
{
    const char *text = std::getenv("PIPWRIGHT_PROGRESS_AFTER_MS");
    if (text == nullptr || *text == '\0')
        return std::chrono::seconds(1);
    return std::chrono::milliseconds(std::strtol(text, nullptr, 10));
}

Progress::Progress(std::chrono::milliseconds after)
    : m_after(after)
    , m_start(std::chrono::steady_clock::now())
{
    if (::isatty(STDERR_FILENO) != 1)
        return;
    std::signal(SIGINT, Interrupted);
    BlockInterrupt(SIG_BLOCK);
    m_thread = std::jthread([this](std::stop_token stop) {
        BlockInterrupt(SIG_UNBLOCK);
        Show(stop);
    });
}

Progress::~Progress()
{
    Clear();
}

void Progress::Counting(const std::string &what)
{
    const std::lock_guard lock(m_mutex);
    m_what = what;
    m_changed.notify_all();
}

void Progress::Clear()
{
    if (!m_thread.joinable())
        return;
    m_thread.request_stop();
    m_thread.join();
    if (shown != 0)
        Write(clearLine);
    std::signal(SIGINT, SIG_DFL);
    BlockInterrupt(SIG_UNBLOCK);
}

void Progress::Show(std::stop_token stop)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_until(lock, stop, m_start + m_after, [] { return false; }) && stop.stop_requested())
        return;
    // A line with no name would say nothing: with no delay, or a delay shorter
    // than the reading of the roll, the count may not yet have said what it is.
    if (!m_changed.wait(lock, stop, [this] { return !m_what.empty(); }))
        return;
    while (!stop.stop_requested()) {
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_start).count();
        shown = 1; // first, so that Ctrl+C during the write still clears
        Write(std::string(clearLine) + "counting " + m_what + "... " + std::to_string(seconds) + " s");
        m_changed.wait_for(lock, stop, std::chrono::milliseconds(250), [] { return false; });
    }
}

} // namespace cli

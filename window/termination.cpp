#include "window/termination.h"

#include <QApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace window
{

#ifdef Q_OS_UNIX

namespace
{

// A signal handler may do next to nothing, so it only wakes the event loop.
int wakeUp[2] = { -1, -1 };

void OnTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeUp[1], &byte, 1);
}

} // namespace

void CloseWindowsOnTermination()
{
    if (wakeUp[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeUp) != 0)
        return;
    auto *notifier = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte;
        [[maybe_unused]] const auto read = ::read(wakeUp[0], &byte, 1);
        QApplication::closeAllWindows();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : { SIGTERM, SIGINT, SIGHUP })
        ::sigaction(signal, &action, nullptr);
}

#else

void CloseWindowsOnTermination()
{
}

#endif

} // namespace window

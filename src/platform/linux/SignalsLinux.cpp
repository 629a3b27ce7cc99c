#include "platform/Signals.h"

#include <cerrno>
#include <csignal>
#include <initializer_list>

#include <fcntl.h>
#include <unistd.h>

namespace lunor::platform {
namespace {

int writeEnd = -1;
int readEnd = -1;

void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a request; losing this one changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

int catchTerminationRequests()
{
    if (readEnd >= 0)
        return readEnd;

    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0)
        return -1;
    writeEnd = ends[1];

    struct sigaction action
    {
    };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : { SIGTERM, SIGINT, SIGHUP }) {
        if (::sigaction(signalNumber, &action, nullptr) != 0)
            return -1;
    }
    readEnd = ends[0];
    return readEnd;
}

int takeTerminationRequest(int pipe)
{
    int last = 0;
    unsigned char buffer[64];
    for (;;) {
        const ssize_t count = ::read(pipe, buffer, sizeof buffer);
        if (count > 0) {
            last = buffer[count - 1];
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        return last;
    }
}

} // namespace lunor::platform

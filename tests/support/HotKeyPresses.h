#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>
#include <ostream>

namespace lunor::test {

// One call of a hot-key handler.
struct Press
{
    unsigned keyCode;
    unsigned modifiers;
    bool operator==(const Press &) const = default;
};

inline bool pressBefore(const Press &a, const Press &b)
{
    return a.keyCode != b.keyCode ? a.keyCode < b.keyCode : a.modifiers < b.modifiers;
}

inline void PrintTo(const Press &press, std::ostream *out)
{
    *out << "key 0x" << std::hex << press.keyCode << " modifiers 0x" << press.modifiers;
}

// Runs the event loop until the condition holds; false when it did not within the time.
inline bool waitFor(const std::function<bool()> &done, int milliseconds = 5000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace lunor::test

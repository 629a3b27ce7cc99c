#include "FakeDesktop.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace lunor::test {
namespace {

std::string readLine(QProcess &process, int milliseconds = 10000)
{
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(milliseconds))
            throw std::runtime_error("no answer from " + process.program().toStdString() + ": "
                + process.readAllStandardError().toStdString());
    }
    return process.readLine().trimmed().toStdString();
}

void end(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
}

} // namespace

ScopedEnvironment::~ScopedEnvironment()
{
    for (const auto &[name, value] : m_saved) {
        if (value)
            qputenv(name.c_str(), *value);
        else
            qunsetenv(name.c_str());
    }
}

void ScopedEnvironment::set(const char *name, const std::optional<std::string> &value)
{
    if (!m_saved.contains(name)) {
        m_saved[name]
            = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }
    if (value)
        qputenv(name, QByteArray::fromStdString(*value));
    else
        qunsetenv(name);
}

PrivateBus::PrivateBus()
{
    m_daemon.setProcessChannelMode(QProcess::SeparateChannels);
    m_daemon.start(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--session"), QStringLiteral("--nofork"),
            QStringLiteral("--print-address=1") });
    m_address = readLine(m_daemon);
    m_environment.set("DBUS_SESSION_BUS_ADDRESS", m_address);
}

PrivateBus::~PrivateBus()
{
    end(m_daemon);
}

FakeDesktop::FakeDesktop(const std::vector<std::string> &services, int bindResponse)
    : m_log(m_folder.file("calls.log"))
    , m_idle(m_folder.file("idle-ms"))
    , m_trigger(m_folder.file("activate"))
{
    QStringList arguments { QStringLiteral(LUNOR_FAKE_DESKTOP), QStringLiteral("--log"),
        QString::fromStdString(m_log), QStringLiteral("--idle-file"),
        QString::fromStdString(m_idle), QStringLiteral("--trigger-file"),
        QString::fromStdString(m_trigger), QStringLiteral("--bind-response"),
        QString::number(bindResponse) };
    for (const std::string &service : services)
        arguments << QString::fromStdString(service);
    m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
    const std::string ready = readLine(m_process);
    if (ready != "ready")
        throw std::runtime_error("the fake desktop did not start: " + ready);
}

FakeDesktop::~FakeDesktop()
{
    stop();
}

void FakeDesktop::stop()
{
    end(m_process);
}

void FakeDesktop::setIdleMilliseconds(unsigned long long milliseconds) const
{
    std::ofstream(m_idle + ".new") << milliseconds;
    std::filesystem::rename(m_idle + ".new", m_idle);
}

void FakeDesktop::activateShortcuts() const
{
    std::ofstream(m_trigger) << "activate";
}

std::vector<std::string> FakeDesktop::calls() const
{
    std::vector<std::string> lines;
    std::ifstream in(m_log);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

int FakeDesktop::count(const std::string &prefix) const
{
    int found = 0;
    for (const std::string &line : calls())
        found += line.starts_with(prefix) ? 1 : 0;
    return found;
}

FakeCompositor::FakeCompositor(bool idleNotify)
{
    std::filesystem::permissions(m_runtime.path(), std::filesystem::perms::owner_all);
    m_environment.set("XDG_RUNTIME_DIR", m_runtime.path());
    m_environment.set("WAYLAND_DISPLAY", "lunor-test-wayland");
    QStringList arguments { QStringLiteral("lunor-test-wayland") };
    if (!idleNotify)
        arguments << QStringLiteral("--no-idle-notify");
    m_process.start(QStringLiteral(LUNOR_FAKE_COMPOSITOR), arguments);
    const std::string ready = readLine(m_process);
    if (ready != "ready")
        throw std::runtime_error("the fake compositor did not start: " + ready);
}

FakeCompositor::~FakeCompositor()
{
    end(m_process);
}

std::string FakeCompositor::command(const char *line)
{
    m_process.write(QByteArray(line) + '\n');
    m_process.waitForBytesWritten();
    return readLine(m_process);
}

void FakeCompositor::sendIdled()
{
    EXPECT_EQ(command("idled"), "sent");
}

void FakeCompositor::sendResumed()
{
    EXPECT_EQ(command("resumed"), "sent");
}

std::vector<int> FakeCompositor::notificationTimeouts()
{
    std::istringstream answer(command("notifications"));
    std::vector<int> timeouts;
    for (int timeout = 0; answer >> timeout;)
        timeouts.push_back(timeout);
    return timeouts;
}

} // namespace lunor::test

#pragma once

#include "TempFolder.h"
#include "gui/QtUserNotices.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace lunor::test {

// A program folder for a window: the stores and the plug-in folder. Files are given as UTF-8
// with LF and written as the program keeps them: code page 936 with CR LF.
class ProgramFolder
{
public:
    const std::string &path() const { return m_folder.path(); }
    std::string file(const std::string &name) const { return m_folder.file(name); }

    void writeConfig(const std::string &utf8) const;
    void writeMission(const std::string &utf8) const;
    // The file as UTF-8 with LF; empty when missing.
    std::string readText(const std::string &name) const;
    std::string readBytes(const std::string &name) const { return m_folder.read(name); }
    bool exists(const std::string &name) const { return m_folder.exists(name); }

    // Copies the recorder fixture module ("记录器") into the plug-in folder.
    void installRecorder(const std::string &fileName = "recorder.dll") const;
    // The lines the fixture modules logged, each without its module file name.
    std::vector<std::string> pluginCalls() const;
    // Only the lines of Run calls.
    std::vector<std::string> runCalls() const;

private:
    TempFolder m_folder;
};

// Answers the boxes of QtUserNotices while it lives and records every notice.
class NoticeRecorder
{
public:
    using Notice = gui::QtUserNotices::Notice;
    using Kind = gui::QtUserNotices::Kind;

    NoticeRecorder();
    ~NoticeRecorder();

    bool answer = true;
    // Runs for every notice before it is recorded as answered.
    std::function<void(const Notice &)> onNotice;
    std::vector<Notice> notices;

    std::vector<Notice> ofKind(Kind kind) const;
};

// Catches the addresses the program asks the desktop to open (QDesktopServices's handler).
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

// A child of a window by object name; fails the test when missing.
template <typename T> T *child(const QObject &parent, const char *name)
{
    T *found = parent.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no " << name;
    return found;
}

} // namespace lunor::test

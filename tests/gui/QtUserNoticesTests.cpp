// The real message boxes, without the test hook: inspected and answered while they are open.
#include "gui/QtUserNotices.h"

#include "platform/TextCodec.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace lunor::test {
namespace {

using gui::QtUserNotices;

struct SeenBox
{
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QWidget *parent = nullptr;
};

class QtUserNoticesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QtUserNotices::setTestHook({});
        QCoreApplication::setApplicationName(QStringLiteral("Lunor定时系统 v9.8.7.6"));
    }

    // Shows a box through `show` and answers it with the button `press`. The search for the
    // box can outlive the call (no box shown at all), so what it uses is its own.
    SeenBox showAndAnswer(const std::function<void()> &show, const QString &press)
    {
        struct Search
        {
            SeenBox seen;
            bool looking = true;
        };
        const auto search = std::make_shared<Search>();
        auto look = std::make_shared<std::function<void()>>();
        *look = [search, press, weakLook = std::weak_ptr<std::function<void()>>(look)] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) {
                if (const auto again = weakLook.lock(); again && search->looking)
                    QTimer::singleShot(10, *again);
                return;
            }
            SeenBox &seen = search->seen;
            seen.shown = true;
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            seen.parent = box->parentWidget();
            QAbstractButton *target = nullptr;
            for (QAbstractButton *button : box->buttons()) {
                seen.buttons.append(button->text());
                if (button->text() == press)
                    target = button;
            }
            if (target)
                target->click();
            else
                box->reject();
        };
        QTimer::singleShot(0, *look);
        show();
        search->looking = false;
        return search->seen;
    }

    QWidget owner;
    QtUserNotices notices { &owner };
};

std::string gbk(const char *utf8)
{
    return platform::utf8ToGbk(utf8);
}

TEST_F(QtUserNoticesTest, InformationBoxBelongsToTheMainWindow)
{
    const SeenBox seen
        = showAndAnswer([&] { notices.information(gbk("提示帮助"), gbk("请先选择一条记录！")); },
            QStringLiteral("确定"));
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, QStringLiteral("提示帮助"));
    EXPECT_EQ(seen.text, QStringLiteral("请先选择一条记录！"));
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QStringList { QStringLiteral("确定") });
    EXPECT_EQ(seen.parent, &owner);
}

struct ConfirmCase
{
    const char *press;
    bool answer;
};

class ConfirmationBoxTest : public QtUserNoticesTest,
                            public ::testing::WithParamInterface<ConfirmCase>
{
};

TEST_P(ConfirmationBoxTest, AsksWithYesAndNo)
{
    bool answer = !GetParam().answer;
    const SeenBox seen = showAndAnswer(
        [&] { answer = notices.confirm(gbk("确认执行"), gbk("您确认执行“记录器”的任务吗？")); },
        QString::fromUtf8(GetParam().press));
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(answer, GetParam().answer);
    EXPECT_EQ(seen.title, QStringLiteral("确认执行"));
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons.size(), 2);
    EXPECT_TRUE(seen.buttons.contains(QStringLiteral("是(&Y)")));
    EXPECT_TRUE(seen.buttons.contains(QStringLiteral("否(&N)")));
}

INSTANTIATE_TEST_SUITE_P(Answers, ConfirmationBoxTest,
    ::testing::Values(ConfirmCase { "是(&Y)", true }, ConfirmCase { "否(&N)", false }));

TEST_F(QtUserNoticesTest, PlainAndErrorBoxesCarryTheApplicationTitle)
{
    const SeenBox plain = showAndAnswer(
        [&] { notices.plainMessage(gbk("程序错误，请重新安装程序！")); }, QStringLiteral("确定"));
    ASSERT_TRUE(plain.shown);
    EXPECT_EQ(plain.title, QStringLiteral("Lunor定时系统 v9.8.7.6"));
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.text, QStringLiteral("程序错误，请重新安装程序！"));

    const SeenBox error = showAndAnswer(
        [&] { notices.error(gbk("Unable to write to /x/CFG.dll")); }, QStringLiteral("确定"));
    ASSERT_TRUE(error.shown);
    EXPECT_EQ(error.title, QStringLiteral("Lunor定时系统 v9.8.7.6"));
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.text, QStringLiteral("Unable to write to /x/CFG.dll"));
}

TEST_F(QtUserNoticesTest, SilencedNoticesShowNothingAndDeclineConfirmations)
{
    notices.silence();
    bool answer = true;
    const SeenBox seen = showAndAnswer(
        [&] {
            notices.information(gbk("提示帮助"), gbk("x"));
            answer = notices.confirm(gbk("确认执行"), gbk("y"));
            notices.error(gbk("z"));
        },
        QStringLiteral("是(&Y)"));
    EXPECT_FALSE(seen.shown);
    EXPECT_FALSE(answer);
}

} // namespace
} // namespace lunor::test

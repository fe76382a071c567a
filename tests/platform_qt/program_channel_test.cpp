#include "platform_qt/program_channel.h"
#include "temp_app_dir.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <memory>

using namespace std::chrono_literals;

namespace {

// The running program, on a thread of its own whose event loop answers, as the program's does.
class RunningProgram {
public:
    explicit RunningProgram(const QString& name) {
        context_.moveToThread(&thread_);
        thread_.start();
        inThread([this, name] {
            listener_ = std::make_unique<platform::ChannelListener>([this] { ++broughtForward; });
            listening = listener_->listen(name);
        });
    }
    ~RunningProgram() {
        inThread([this] { listener_.reset(); });
        thread_.quit();
        thread_.wait();
    }
    std::atomic<int> broughtForward = 0;
    bool listening = false;

private:
    template <class F> void inThread(F f) {
        QMetaObject::invokeMethod(&context_, f, Qt::BlockingQueuedConnection);
    }
    QThread thread_;
    QObject context_;
    std::unique_ptr<platform::ChannelListener> listener_;
};

class ProgramChannel : public testing::Test {
protected:
    TempAppDir dir;
    const QString name = platform::channelName(dir.file("savedata/yomirin.lock"));
};

} // namespace

TEST_F(ProgramChannel, EachFolderHasItsOwnAndALinkMeetsTheSame) {
    TempAppDir other;
    EXPECT_NE(platform::channelName(other.file("savedata/yomirin.lock")), name);
    std::filesystem::create_directory_symlink(dir.file("savedata"), other.file("linked"));
    std::ofstream(dir.file("savedata/yomirin.lock"));
    EXPECT_EQ(platform::channelName(other.file("linked/yomirin.lock")),
              platform::channelName(dir.file("savedata/yomirin.lock")));
}

TEST_F(ProgramChannel, TheRunningProgramIsBroughtForwardAndAnswers) {
    // A socket left by a program that was killed is no obstacle to the next holder.
    std::ofstream(name.toStdString()) << "left behind";
    RunningProgram running(name);
    ASSERT_TRUE(running.listening);
    EXPECT_TRUE(platform::askToComeForward(name, 5s));
    EXPECT_TRUE(platform::askToComeForward(name, 5s));
    EXPECT_EQ(running.broughtForward, 2);
}

TEST_F(ProgramChannel, NoAnswerWithinThePatience) {
    EXPECT_FALSE(platform::askToComeForward(name, 100ms)) << "nobody listens";
    // A program that takes the connection but is stuck: this thread's loop does not run.
    platform::ChannelListener stuck([] {});
    ASSERT_TRUE(stuck.listen(name));
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::askToComeForward(name, 100ms));
    // Far above the patience, so that only a wait that ignored it fails, however loaded the machine.
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 15s);
}

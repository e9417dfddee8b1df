// One instance at a time: the real program, started as separate processes.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "platform/single_instance.h"

namespace {

// A copy of the program in a folder of its own, run with its own runtime
// folder so that the test never meets a user's running instance.
class ProgramCopy {
public:
    ProgramCopy() {
        program_ = dir_.path() + "/belvorine";
        QFile::copy(BELVORINE_BINARY, program_);
        QFile::setPermissions(program_, QFile::permissions(BELVORINE_BINARY));
        runtime_ = dir_.path() + "/run";
        QDir().mkpath(runtime_);
    }
    void start(QProcess& process) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime_);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(program_, {});
        process.waitForStarted();
    }
    QString folder() const { return dir_.path(); }
    // True while some process holds the program's lock.
    bool lockHeld() const {
        qputenv("XDG_RUNTIME_DIR", runtime_.toLocal8Bit());
        const QString path = belvorine::SingleInstanceLock::lockFilePath("Belvorine Ver 4.30");
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
        if (fd < 0) {
            return false;
        }
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        return held;
    }
    bool waitForLock() const {
        QElapsedTimer timer;
        timer.start();
        while (!lockHeld() && timer.elapsed() < 20000) {
            QThread::msleep(50);
        }
        return lockHeld();
    }

private:
    QTemporaryDir dir_;
    QString program_;
    QString runtime_;
};

}  // namespace

TEST(SingleInstance, ASecondStartEndsAtOnceWithZeroAndTheFirstRunsOn) {
    ProgramCopy program;
    QProcess first;
    program.start(first);
    ASSERT_TRUE(program.waitForLock()) << "the first instance never took its lock";

    QProcess second;
    program.start(second);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished();
}

TEST(SingleInstance, AKilledInstanceDoesNotBlockTheNextStart) {
    ProgramCopy program;
    QProcess crashed;
    program.start(crashed);
    ASSERT_TRUE(program.waitForLock());
    crashed.kill();  // no clean exit
    crashed.waitForFinished();
    EXPECT_FALSE(program.lockHeld());

    QProcess next;
    program.start(next);
    EXPECT_TRUE(program.waitForLock());
    EXPECT_FALSE(next.waitForFinished(500)) << "the next start ran";
    next.kill();
    next.waitForFinished();
}

TEST(SingleInstance, ATerminationSignalEndsLikeTheCloseBoxAndKeepsTheFiles) {
    ProgramCopy program;
    QProcess process;
    program.start(process);
    ASSERT_TRUE(program.waitForLock());
    // The lock comes before the window; the signal is taken once it stands.
    QThread::msleep(3000);
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(program.folder() + "/belvorine.dat"));
    EXPECT_TRUE(QFile::exists(program.folder() + "/belvorine.da1"));
}

#include "print/job_watch.h"

#include <mutex>
#include <optional>
#include <thread>

namespace belvorine {
namespace {

int& pollInterval() {
    static int milliseconds = 2000;
    return milliseconds;
}

// A job the scheduler has not listed after this many answers is let go.
constexpr int kUnfoundAnswers = 10;

}  // namespace

// One question to the printing system, asked on a thread of its own (a
// scheduler that does not answer never freezes the window); the answer
// waits here for the next tick.
struct JobWatch::Query {
    std::mutex mutex;
    bool done = false;
    int id = 0;
    JobStatus status;
};

JobWatch::JobWatch(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &JobWatch::poll);
}

JobWatch::~JobWatch() = default;

void JobWatch::setPollIntervalForTesting(int milliseconds) {
    pollInterval() = milliseconds;
}

void JobWatch::watch(const QString& queue, const QString& title) {
    queue_ = queue;
    title_ = title;
    job_ = 0;
    unfound_ = 0;
    lastTrouble_.clear();
    query_.reset();  // an answer about the job before is not wanted
    emit statusChanged(QStringLiteral("「%1」に印刷データを送りました。").arg(queue_));
    timer_.start(pollInterval());
    poll();
}

void JobWatch::poll() {
    if (query_) {
        std::optional<std::pair<int, JobStatus>> answer;
        {
            const std::lock_guard<std::mutex> lock(query_->mutex);
            if (query_->done) {
                answer.emplace(query_->id, query_->status);
            }
        }
        if (!answer) {
            return;  // still waiting for the scheduler
        }
        query_.reset();
        take(answer->first, answer->second);
        if (!timer_.isActive()) {
            return;
        }
    }
    auto query = std::make_shared<Query>();
    query_ = query;
    std::thread([query, queue = queue_, title = title_, id = job_]() {
        const int job = id != 0 ? id : newestJob(queue, title);
        const JobStatus status = job != 0 ? jobStatus(queue, job) : JobStatus();
        const std::lock_guard<std::mutex> lock(query->mutex);
        query->id = job;
        query->status = status;
        query->done = true;
    }).detach();
}

void JobWatch::take(int id, const JobStatus& job) {
    // A job never found, or one the scheduler no longer answers for (it
    // stopped, or the job was purged), is given up after a few answers.
    if (id == 0 || job.state == JobState::kUnknown) {
        if (++unfound_ >= kUnfoundAnswers) {
            timer_.stop();
        }
        return;
    }
    unfound_ = 0;
    job_ = id;
    const QString detail =
        job.queueMessage.isEmpty() ? QString() : QStringLiteral("：") + job.queueMessage;
    QString status;
    QString trouble;
    switch (job.state) {
        case JobState::kWaiting:
        case JobState::kHeld:
            status = QStringLiteral("「%1」で印刷待ちです%2").arg(queue_, detail);
            break;
        case JobState::kPrinting:
            status = QStringLiteral("「%1」で印刷中です%2").arg(queue_, detail);
            break;
        case JobState::kStopped:
            trouble = QStringLiteral("「%1」での印刷が止まっています%2").arg(queue_, detail);
            break;
        case JobState::kCanceled:
            trouble = QStringLiteral("「%1」での印刷が取り消されました。").arg(queue_);
            timer_.stop();
            break;
        case JobState::kAborted:
            trouble = QStringLiteral("「%1」での印刷が失敗しました%2").arg(queue_, detail);
            timer_.stop();
            break;
        case JobState::kCompleted:
            status = QStringLiteral("「%1」での印刷が終わりました。").arg(queue_);
            timer_.stop();
            break;
        case JobState::kUnknown:
            return;  // given up above
    }
    if (job.queueStopped && trouble.isEmpty() && timer_.isActive()) {
        trouble = QStringLiteral("プリンタ「%1」が停止しています%2").arg(queue_, detail);
    }
    if (!trouble.isEmpty()) {
        emit statusChanged(trouble);
        if (trouble != lastTrouble_) {
            lastTrouble_ = trouble;
            emit troubleReported(trouble);
        }
        return;
    }
    emit statusChanged(status);
}

}  // namespace belvorine

#pragma once
// What the printing system says of a job handed to one of its queues. The
// calls wait for the scheduler: run them off the windows' thread.

#include <QString>

namespace belvorine {

enum class JobState {
    kUnknown,
    kWaiting,
    kHeld,
    kPrinting,
    kStopped,
    kCanceled,
    kAborted,
    kCompleted
};

struct JobStatus {
    JobState state = JobState::kUnknown;
    bool queueStopped = false;  // the queue itself no longer prints
    QString queueMessage;       // what the queue last said (may be empty)
};

// The newest job of this user titled `title` on `queue`; 0 when there is
// none or the scheduler cannot be asked.
int newestJob(const QString& queue, const QString& title);

// Job `id` on `queue` and the state of the queue; kUnknown for a job the
// scheduler cannot be asked about or no longer knows.
JobStatus jobStatus(const QString& queue, int id);

}  // namespace belvorine

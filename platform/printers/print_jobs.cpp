#include "platform/printers/print_jobs.h"

#include "platform/printers/cups_library.h"

namespace belvorine {
namespace {

// This user's jobs on `queue`, finished ones included, handed to `use`.
template <typename Use>
void withJobs(const QString& queue, Use use) {
    const CupsCalls* calls = cups();
    const QByteArray name = queue.toUtf8();
    if (!calls || name.isEmpty()) {
        return;
    }
    cups_job_t* jobs = nullptr;
    const int count =
        calls->getJobs(CUPS_HTTP_DEFAULT, &jobs, name.constData(), 1, CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < count; ++i) {
        use(jobs[i]);
    }
    if (count > 0) {
        calls->freeJobs(count, jobs);
    }
}

JobState stateOf(ipp_jstate_t state) {
    switch (state) {
        case IPP_JSTATE_PENDING:
            return JobState::kWaiting;
        case IPP_JSTATE_HELD:
            return JobState::kHeld;
        case IPP_JSTATE_PROCESSING:
            return JobState::kPrinting;
        case IPP_JSTATE_STOPPED:
            return JobState::kStopped;
        case IPP_JSTATE_CANCELED:
            return JobState::kCanceled;
        case IPP_JSTATE_ABORTED:
            return JobState::kAborted;
        case IPP_JSTATE_COMPLETED:
            return JobState::kCompleted;
    }
    return JobState::kUnknown;
}

}  // namespace

int newestJob(const QString& queue, const QString& title) {
    int newest = 0;
    const QByteArray wanted = title.toUtf8();
    withJobs(queue, [&](const cups_job_t& job) {
        if (job.title && wanted == job.title && job.id > newest) {
            newest = job.id;
        }
    });
    return newest;
}

JobStatus jobStatus(const QString& queue, int id) {
    JobStatus status;
    withJobs(queue, [&](const cups_job_t& job) {
        if (job.id == id) {
            status.state = stateOf(job.state);
        }
    });
    const CupsCalls* calls = cups();
    if (!calls) {
        return status;
    }
    const QByteArray name = queue.toUtf8();
    if (cups_dest_t* dest = calls->getNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr)) {
        const char* state = calls->getOption("printer-state", dest->num_options, dest->options);
        const char* message =
            calls->getOption("printer-state-message", dest->num_options, dest->options);
        status.queueStopped = state && QByteArray(state) == "5";
        status.queueMessage = QString::fromUtf8(message ? message : "");
        calls->freeDests(1, dest);
    }
    return status;
}

}  // namespace belvorine

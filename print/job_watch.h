#pragma once
// Follows a job once it is handed to a CUPS queue, for as long as the
// program runs, and tells what the printing system reports of it: that it
// was sent and to which queue, that it waits and why, that it is printed,
// or that it stopped, was cancelled or failed. A queue whose printer never
// answers then gives a sign instead of none.

#include <memory>

#include <QObject>
#include <QString>
#include <QTimer>

#include "platform/printers/print_jobs.h"

namespace belvorine {

class JobWatch : public QObject {
    Q_OBJECT
public:
    explicit JobWatch(QObject* parent = nullptr);
    ~JobWatch() override;

    // Follows the newest job titled `title` on `queue`, the one just handed
    // over; the job followed before is let go.
    void watch(const QString& queue, const QString& title);

    // How often the printing system is asked (tests shorten it).
    static void setPollIntervalForTesting(int milliseconds);

signals:
    // What to show in the status bar.
    void statusChanged(const QString& text);
    // A job that stopped, was cancelled or failed, said once per change.
    void troubleReported(const QString& text);

private:
    struct Query;
    void poll();
    void take(int id, const JobStatus& status);

    QTimer timer_;
    QString queue_;
    QString title_;
    int job_ = 0;          // 0 until the job is found
    int unfound_ = 0;      // answers without the job
    QString lastTrouble_;  // said already
    std::shared_ptr<Query> query_;
};

}  // namespace belvorine

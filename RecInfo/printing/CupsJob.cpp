// SPDX-License-Identifier: MIT
#include "CupsJob.h"

#include "automation/RuntimeError.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QThread>

#include <atomic>

#include <cups/cups.h>

namespace vxRecInfo::cups {

namespace {

[[noreturn]] void fail(const QString& text)
{
    throw RuntimeError(Err::PrinterError, standardErrorDescription(Err::PrinterError) + QStringLiteral(": ") + text);
}

QString lastError()
{
    const char* text = cupsLastErrorString();
    return text && *text ? QString::fromUtf8(text) : QString::fromUtf8(ippErrorString(cupsLastError()));
}

struct Job {
    int id = 0;
    ipp_jstate_t state = IPP_JSTATE_PENDING;
};

// The id and state of this user's job titled title on queue; id 0 when there is none or the
// server cannot be asked (error says why).
Job findJob(const QByteArray& queue, const QByteArray& title, QString& error)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 1, CUPS_WHICHJOBS_ALL);
    Job found;
    if (count < 0) {
        error = lastError();
        return found;
    }
    for (int i = 0; i < count; ++i) {
        if (jobs[i].title && title == jobs[i].title) {
            found.id = jobs[i].id;
            found.state = jobs[i].state;
        }
    }
    cupsFreeJobs(count, jobs);
    return found;
}

// The job's state, and why it is in it as the server says.
ipp_jstate_t jobState(int id, QString& why, const QString& queueName)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/jobs/%d", id);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const char* const wanted[] = {"job-state", "job-state-message", "job-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, wanted);
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (!response || cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        ippDelete(response);
        fail(QStringLiteral("the printer \"%1\" cannot be asked about job %2: %3").arg(queueName).arg(id).arg(lastError()));
    }
    auto state = ipp_jstate_t(ippGetInteger(ippFindAttribute(response, "job-state", IPP_TAG_ENUM), 0));
    QStringList reasons;
    if (ipp_attribute_t* message = ippFindAttribute(response, "job-state-message", IPP_TAG_TEXT))
        if (const char* text = ippGetString(message, 0, nullptr); text && *text)
            reasons << QString::fromUtf8(text);
    if (ipp_attribute_t* keywords = ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD))
        for (int i = 0; i < ippGetCount(keywords); ++i)
            if (const char* text = ippGetString(keywords, i, nullptr); text && qstrcmp(text, "none") != 0)
                reasons << QString::fromUtf8(text);
    why = reasons.join(QStringLiteral(", "));
    ippDelete(response);
    return state;
}

QString stateName(ipp_jstate_t state)
{
    switch (state) {
    case IPP_JSTATE_PENDING: return QStringLiteral("pending");
    case IPP_JSTATE_HELD: return QStringLiteral("held");
    case IPP_JSTATE_PROCESSING: return QStringLiteral("processing");
    case IPP_JSTATE_STOPPED: return QStringLiteral("stopped");
    case IPP_JSTATE_CANCELED: return QStringLiteral("canceled");
    case IPP_JSTATE_ABORTED: return QStringLiteral("aborted");
    case IPP_JSTATE_COMPLETED: return QStringLiteral("completed");
    }
    return QString::number(int(state));
}

// How long a job may take to be printed.
int jobWaitSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("VXRECINFO_PRINT_WAIT", &ok);
    return ok && seconds >= 0 ? seconds : 120;
}

} // namespace

QString uniqueJobTitle()
{
    static std::atomic<int> jobs{0};
    return QStringLiteral("vxRecInfo report %1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(++jobs)
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

QString lastRequestError()
{
    return cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE ? lastError() : QString();
}

void confirmJob(const QString& queue, const QString& title, const QString& submitError)
{
    const QByteArray queueName = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
    QString askError;
    const Job job = findJob(queueName, title.toUtf8(), askError);
    if (job.id == 0 && submitError.isEmpty() && !askError.isEmpty())
        fail(QStringLiteral("the printer \"%1\" cannot be asked about its job: %2").arg(queue, askError));
    if (job.id == 0)
        fail(QStringLiteral("the printer \"%1\" did not take the job: %2")
                 .arg(queue, submitError.isEmpty() ? QStringLiteral("it is not among the queue's jobs") : submitError));
    const int seconds = jobWaitSeconds();
    const QDeadlineTimer deadline(std::chrono::seconds{seconds});
    int pause = 50;
    QString why;
    ipp_jstate_t state = job.state;
    for (;;) {
        state = jobState(job.id, why, queue);
        if (state >= IPP_JSTATE_CANCELED || deadline.hasExpired())
            break;
        QThread::msleep(std::min<qint64>(pause, std::max<qint64>(1, deadline.remainingTime())));
        pause = std::min(pause * 2, 1000);
    }
    if (state == IPP_JSTATE_COMPLETED)
        return;
    const QString how = why.isEmpty() ? stateName(state) : stateName(state) + QStringLiteral(", ") + why;
    if (state >= IPP_JSTATE_CANCELED)
        fail(QStringLiteral("job %1 on \"%2\" was not printed (%3)").arg(job.id).arg(queue, how));
    fail(QStringLiteral("job %1 on \"%2\" is still queued after %3 s (%4)").arg(job.id).arg(queue).arg(seconds).arg(how));
}

void cancelJob(const QString& queue, const QString& title) noexcept
{
    const QByteArray queueName = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
    QString error;
    const Job job = findJob(queueName, title.toUtf8(), error);
    if (job.id != 0 && job.state < IPP_JSTATE_CANCELED)
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queueName.constData(), job.id, 0);
}

} // namespace vxRecInfo::cups

// SPDX-License-Identifier: MIT
#pragma once
// Confirming a CUPS job. Qt's CUPS engine submits the job inside QPainter::end() and drops the
// result, so the printer gives every job a title of its own and looks it up afterwards.

#include <QString>

namespace vxRecInfo::cups {

// A job title no other job of this user carries: "vxRecInfo report" and a token.
QString uniqueJobTitle();

// What libcups said about the calling thread's last request; empty when it succeeded. Read
// right after the engine submitted, on the same thread (libcups keeps it per thread).
QString lastRequestError();

// Returns once the job titled title on queue is completed. Error 482 naming the queue when it
// is not there (submitError, the submission's error, says why), was canceled or aborted, is
// still queued after $VXRECINFO_PRINT_WAIT seconds (120 by default), or the server cannot be asked.
void confirmJob(const QString& queue, const QString& title, const QString& submitError);

// Cancels the job titled title on queue if it is not done yet: Qt's engine has no way to
// abandon a job it has begun, so its pages are sent and then canceled. Best effort.
void cancelJob(const QString& queue, const QString& title) noexcept;

} // namespace vxRecInfo::cups

// SPDX-License-Identifier: MIT
#pragma once
// The progress of a long command on standard error, for a person watching a terminal: datasets
// done of the total (and pages printed), the rate and the time left, rewritten in place at most
// ten times a second, cleared for a message box and at the end.

#include "component/ModuleState.h"

#include "support/MessageService.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <memory>

namespace recinfo {

class TerminalProgress final : public vxRecInfo::IProgressObserver
{
public:
    // Writes nothing unless shown. A shown one observes the calling thread's batch services
    // while it lives. total: the datasets to come, if known before the first is done.
    TerminalProgress(QTextStream& err, QString what, int total, bool shown);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void datasetDone(int done, int total) override;
    void pageDone(int page) override;
    // Clears the line, so that a message starts on its own; the next update draws it again.
    void clearLine();

private:
    void update();

    QTextStream& m_err;
    QString m_what;
    bool m_shown;
    vxRecInfo::IProgressObserver* m_previous = nullptr;
    std::unique_ptr<vxRecInfo::MessageService> m_previousMessages;
    QElapsedTimer m_clock;
    qint64 m_drawnAt = -1;   // ms on m_clock; -1 before the first line
    qint64 m_firstAt = -1;   // ms on m_clock when the first dataset was done
    int m_firstDone = 0;
    qsizetype m_width = 0;   // of the line on the terminal
    int m_done = 0;
    int m_total = 0;
    int m_pages = 0;
};

} // namespace recinfo

// SPDX-License-Identifier: MIT
#include "Progress.h"

namespace recinfo {

namespace {

constexpr qint64 RedrawMs = 100;

// "0:42", "12:05", "1:02:03".
QString durationText(double seconds)
{
    const auto s = qint64(seconds + 0.5);
    const QString minutesAndSeconds =
        QStringLiteral("%1:%2").arg(s / 60 % 60, s >= 3600 ? 2 : 1, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
    return s >= 3600 ? QStringLiteral("%1:").arg(s / 3600) + minutesAndSeconds : minutesAndSeconds;
}

// Message boxes while the progress is shown: on a line of their own.
class MessagesBelowProgress final : public vxRecInfo::MessageService
{
public:
    MessagesBelowProgress(TerminalProgress& progress, vxRecInfo::MessageService* next)
        : m_progress(progress), m_next(next)
    {
    }
    int show(const QString& text, int style, const QString& title) override
    {
        m_progress.clearLine();
        return m_next ? m_next->show(text, style, title) : vxRecInfo::answerOnStandardError(text, style, title);
    }

private:
    TerminalProgress& m_progress;
    vxRecInfo::MessageService* m_next;
};

} // namespace

TerminalProgress::TerminalProgress(QTextStream& err, QString what, int total, bool shown)
    : m_err(err), m_what(std::move(what)), m_shown(shown), m_total(total)
{
    if (!m_shown)
        return;
    m_clock.start();
    vxRecInfo::ModuleState& state = vxRecInfo::ModuleState::current();
    m_previous = state.progressObserver();
    state.setProgressObserver(this);
    m_previousMessages = vxRecInfo::setMessageService(nullptr);
    vxRecInfo::setMessageService(std::make_unique<MessagesBelowProgress>(*this, m_previousMessages.get()));
}

TerminalProgress::~TerminalProgress()
{
    if (!m_shown)
        return;
    vxRecInfo::ModuleState::current().setProgressObserver(m_previous);
    vxRecInfo::setMessageService(std::move(m_previousMessages));
    clearLine(); // what follows starts on a clean line
}

void TerminalProgress::clearLine()
{
    if (m_width == 0)
        return;
    m_err << '\r' << QString(m_width, QLatin1Char(' ')) << '\r';
    m_err.flush();
    m_width = 0;
    m_drawnAt = -1;
}

void TerminalProgress::datasetDone(int done, int total)
{
    if (!m_shown)
        return;
    if (m_firstAt < 0) {
        // The rate counts from the first dataset: what comes before it is starting up.
        m_firstAt = m_clock.elapsed();
        m_firstDone = done;
    }
    m_done = done;
    m_total = total;
    update();
}

void TerminalProgress::pageDone(int)
{
    if (!m_shown)
        return;
    ++m_pages;
    update();
}

void TerminalProgress::update()
{
    const qint64 now = m_clock.elapsed();
    if (m_drawnAt >= 0 && now - m_drawnAt < RedrawMs)
        return;
    m_drawnAt = now;
    QString line = QStringLiteral("recinfo: %1 %2/%3 datasets").arg(m_what).arg(m_done).arg(m_total);
    if (m_pages > 0)
        line += m_pages == 1 ? QStringLiteral(", 1 page") : QStringLiteral(", %1 pages").arg(m_pages);
    if (m_firstAt >= 0 && now > m_firstAt && m_done > m_firstDone) {
        const double rate = (m_done - m_firstDone) * 1000.0 / double(now - m_firstAt);
        line += QStringLiteral(", %1/s, %2 left")
                    .arg(rate < 10 ? QString::number(rate, 'f', 1) : QString::number(qint64(rate)))
                    .arg(durationText((m_total - m_done) / rate));
    }
    // Shorter than the line before: blanks cover its end.
    m_err << '\r' << line.leftJustified(m_width);
    m_err.flush();
    m_width = std::max(m_width, line.size());
}

} // namespace recinfo

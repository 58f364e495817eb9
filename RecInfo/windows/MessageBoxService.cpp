// SPDX-License-Identifier: MIT
// Message boxes of the windows: a real modal QMessageBox when the process has a widget
// application on a real display and the box is asked for on its thread; otherwise nobody could
// answer it (or no widget may be made there), so it goes to standard error like the built-in
// fallback.

#include "support/MessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QGuiApplication>
#include <QThread>

namespace vxRecInfo {

namespace {

bool hasDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

class MessageBoxService final : public MessageService
{
public:
    int show(const QString& text, int style, const QString& title) override
    {
        const QCoreApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        if (!app || !hasDisplay() || QThread::currentThread() != app->thread())
            return answerOnStandardError(text, style, title);
        QMessageBox box;
        box.setWindowTitle(title);
        box.setText(text);
        switch (style & 0x70) {
        case MsgBox::Critical: box.setIcon(QMessageBox::Critical); break;
        case MsgBox::Question: box.setIcon(QMessageBox::Question); break;
        case MsgBox::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgBox::Information: box.setIcon(QMessageBox::Information); break;
        default: break;
        }
        switch (style & 7) {
        case MsgBox::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case MsgBox::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        default: box.setStandardButtons(QMessageBox::Ok); break;
        }
        switch (box.exec()) {
        case QMessageBox::Cancel: return MsgBox::ResultCancel;
        case QMessageBox::Yes: return MsgBox::ResultYes;
        case QMessageBox::No: return MsgBox::ResultNo;
        default: return MsgBox::ResultOK;
        }
    }
};

// Installed when the library loads; hosts and tests may replace it.
[[maybe_unused]] const bool installed = (setMessageService(std::make_unique<MessageBoxService>()), true);

} // namespace

} // namespace vxRecInfo

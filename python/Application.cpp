// SPDX-License-Identifier: MIT
#include "Application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <clocale>
#include <string>

#include <unistd.h>

namespace vxpy {

namespace {

QApplication* g_application = nullptr;

// Without a display the batch services still work, on the offscreen platform; and Qt wants a
// private runtime folder, made here instead of warning about it (as recinfo does).
void prepareEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/vxrecinfo-runtime-") + QString::number(getuid());
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
}

} // namespace

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    prepareEnvironment();
    static int argc = 1;
    static char name[] = "vxrecinfo";
    static char* argv[] = {name, nullptr};
    // Qt sets the C locale from the environment for the whole process; the interpreter's
    // stays as the script had it.
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    g_application = new QApplication(argc, argv);
    std::setlocale(LC_ALL, locale.c_str());
}

void deleteApplication()
{
    // An application object made on another thread cannot be deleted from this one; the
    // process ends with it.
    if (g_application && g_application->thread() == QThread::currentThread())
        delete g_application;
    g_application = nullptr;
}

} // namespace vxpy

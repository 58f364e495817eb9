// SPDX-License-Identifier: MIT
// recinfo: the sample host program. It drives the component the way a host application does,
// through the class registry and late binding.

#include "Commands.h"

#include "automation/RuntimeError.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

// Output that did not all arrive (a full disk, a closed pipe) is a failed command, however the
// command itself ended.
int standardOutputChecked(QTextStream& out, QTextStream& err, int status)
{
    errno = 0;
    out.flush();
    const bool streamed = out.status() == QTextStream::Ok;
    const bool flushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
    if ((streamed && flushed) || status != recinfo::Done)
        return status; // a failed command has said why already
    // The device knows why when it failed itself (text written to it as bytes).
    const auto* file = qobject_cast<const QFileDevice*>(out.device());
    const int why = errno != 0 ? errno : EIO;
    err << "recinfo: standard output: "
        << (file && file->error() != QFileDevice::NoError ? file->errorString() : QString::fromLocal8Bit(std::strerror(why)))
        << '\n';
    return recinfo::Failed;
}

} // namespace

int main(int argc, char* argv[])
{
    // Without a display the batch commands still work: on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder; make one instead of warning about it.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime = QDir::tempPath().toLocal8Bit() + "/vxrecinfo-runtime-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromLocal8Bit(runtime));
        QFile::setPermissions(QString::fromLocal8Bit(runtime), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    int status;
    try {
        status = recinfo::runCommandLine(recinfo::recinfoProgram(), app.arguments().mid(1), out, err);
    } catch (const vxRecInfo::RuntimeError& e) {
        out.flush();
        err << "recinfo: error " << e.number() << ": " << recinfo::oneLine(e.description()) << '\n';
        return recinfo::Failed;
    }
    return standardOutputChecked(out, err, status);
}

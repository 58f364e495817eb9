// SPDX-License-Identifier: MIT
// Replays a fuzz target's corpus without libFuzzer: every file of the folders (or the files)
// given, in name order. A finding that comes back fails here as it failed under the fuzzer.

#include "FuzzSupport.h"

#include <QDir>
#include <QFile>

int main(int argc, char** argv)
{
    vxRecInfo::fuzz::initialise();
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QDir dir(QString::fromLocal8Bit(argv[i]));
        const QStringList inputs = dir.exists() ? dir.entryList(QDir::Files, QDir::Name)
                                                : QStringList{dir.absolutePath()};
        for (const QString& name : inputs)
            files << dir.filePath(name);
    }
    if (files.isEmpty())
        vxRecInfo::fuzz::finding(QStringLiteral("replay: no inputs"));
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            vxRecInfo::fuzz::finding(QStringLiteral("replay: cannot read ") + path);
        const QByteArray input = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(files.size()));
    return 0;
}

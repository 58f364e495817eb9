// Replays a fuzz target's corpus without libFuzzer: every file of the folders (or the files)
// given, in name order. A finding that comes back fails here as it failed under the fuzzer.

#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char** argv)
{
    vxRecInfo::fuzz::initialise();
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QDir dir(path);
        if (!dir.exists()) {
            files << path;
            continue;
        }
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            files << dir.filePath(name);
    }
    QTextStream err(stderr);
    if (files.isEmpty()) {
        err << "replay: no inputs\n";
        return 1;
    }
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            err << "replay: cannot read " << path << '\n';
            return 1;
        }
        const QByteArray input = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
    }
    QTextStream(stdout) << files.size() << " inputs replayed\n";
    return 0;
}

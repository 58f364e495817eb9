// A recordings file of any bytes, loaded as the sample host loads it: through the dispatch
// layer into the store. Either it loads whole (every dataset committed) or it stops with a
// message naming the place; never a crash, a hang or a silent half-load.

#include "FuzzSupport.h"

#include "RecordingsFile.h"

#include "component/ModuleState.h"

#include <QFile>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>

using namespace vxRecInfo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vxRecInfo::fuzz::initialise();
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("recordings.json"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(vxRecInfo::fuzz::bytes(data, size));
    }
    ModuleState::endApartment();
    try {
        recinfo::RecordingsFile recordings(path);
        recordings.load();
        // Loaded without a word: then every dataset of the file is in the store.
        const auto document = nlohmann::json::parse(data, data + size, nullptr, false);
        const auto datasets = document.is_object() ? document.find("datasets") : document.end();
        const std::size_t expected = document.is_object() && datasets != document.end() && datasets->is_array()
            ? datasets->size() : 0;
        if (std::size_t(recordings.committed()) != expected) {
            std::fprintf(stderr, "recordings_file_fuzz: loaded %d of %zu datasets without an error\n",
                         recordings.committed(), expected);
            std::abort();
        }
    } catch (const recinfo::LoadError& e) {
        if (e.message.isEmpty())
            std::abort();
    }
    ModuleState::endApartment();
    return 0;
}

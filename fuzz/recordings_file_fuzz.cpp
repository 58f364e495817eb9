// A recordings file of any bytes, loaded as the sample host loads it: through the dispatch
// layer into the store. Either it loads whole (every dataset committed) or it stops with a
// message naming the place; never a crash, a hang or a silent half-load.

#include "FuzzSupport.h"

#include "RecordingsFile.h"

#include "component/ModuleState.h"

#include <QFile>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

using namespace vxRecInfo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::initialise();
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("recordings.json"));
    {
        QFile file(path);
        fuzz::check(file.open(QIODevice::WriteOnly), "recordings_file_fuzz: cannot write the input");
        file.write(fuzz::bytes(data, size));
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
        if (std::size_t(recordings.committed()) != expected)
            fuzz::finding(QStringLiteral("recordings_file_fuzz: loaded %1 of %2 datasets without an error")
                              .arg(recordings.committed())
                              .arg(expected));
    } catch (const recinfo::LoadError& e) {
        fuzz::check(!e.message.isEmpty(), "recordings_file_fuzz: a load error without a message");
    }
    ModuleState::endApartment();
    return 0;
}

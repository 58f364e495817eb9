// SPDX-License-Identifier: MIT
// A recordings file of any bytes, loaded as the sample host loads it: through the dispatch
// layer into the store. Either it loads whole (every dataset committed) or it stops with a
// message naming the place; never a crash, a hang or a silent half-load.

#include "FuzzSupport.h"

#include "RecordingsFile.h"

#include "component/ModuleState.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <nlohmann/json.hpp>

#include <memory>

using namespace vxRecInfo;

namespace {

void loadAndCheck(const std::uint8_t* data, std::size_t size)
{
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
}

// The load runs on a thread with 1 MiB of stack, not on the main thread's 8: hosts load on
// worker threads too, and a recursion per level of nesting then overflows at a depth the seeds
// reach (some 2,500 levels under the sanitizers, not 40,000). The corpus holds a file nested as
// deep as the reader allows, so the replay shows that depth fits; unoptimised frames are
// several times larger, so such a build (the sanitizer build of the tests) gets 4 MiB.
#ifdef __OPTIMIZE__
constexpr std::size_t StackBytes = std::size_t(1) << 20;
#else
constexpr std::size_t StackBytes = std::size_t(4) << 20;
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::initialise();
    const std::unique_ptr<QThread> thread(QThread::create(&loadAndCheck, data, size));
    thread->setStackSize(uint(StackBytes));
    thread->start();
    // A stack size the system refuses leaves the thread unstarted, and wait() true at once.
    fuzz::check(thread->wait() && thread->isFinished(), "recordings_file_fuzz: no thread to load on");
    return 0;
}

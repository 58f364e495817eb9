#pragma once
// What every fuzz target needs once per process: a headless widget application, a private home
// so nothing reaches the user's files, and message and window services that never block.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QString>

namespace vxRecInfo::fuzz {

// Idempotent; the first call sets everything up.
void initialise();

// The input as bytes (a deep copy: the fuzzer's buffer does not outlive the call).
inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A finding: the message on standard error, then a crash, so the fuzzer keeps the input.
[[noreturn]] inline void finding(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::abort();
}

inline void check(bool ok, const char* message)
{
    if (!ok)
        finding(QString::fromUtf8(message));
}

} // namespace vxRecInfo::fuzz

// Replay and fuzzing call the target through this entry point.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

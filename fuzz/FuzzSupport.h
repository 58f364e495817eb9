// SPDX-License-Identifier: MIT
#pragma once
// What every fuzz target needs: once per process a headless widget application, a private home
// so nothing reaches the user's files, and message and window services that never block; and
// a reader of the input as a stream of small decisions.

#include "TestEnvironment.h"
#include "support/MessageService.h"
#include "windows/ModalService.h"

#include <QApplication>
#include <QByteArray>
#include <QDialog>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vxRecInfo::fuzz {

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

namespace detail {

class SilentMessages final : public MessageService
{
public:
    int show(const QString&, int style, const QString&) override
    {
        const int buttons = style & 7;
        return buttons == MsgBox::YesNo || buttons == MsgBox::YesNoCancel ? MsgBox::ResultYes : MsgBox::ResultOK;
    }
};

// A window opened by a fuzzed call closes at once, as if the user pressed Cancel.
class ClosingWindows final : public ModalService
{
public:
    int showModal(QDialog& dialog) override
    {
        dialog.reject();
        return dialog.result();
    }
    void showPrinterProperties(QWidget*, Printer&) override {}
};

} // namespace detail

// Idempotent; the first call sets everything up.
inline void initialise()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    static QTemporaryDir home;
    check(testing::isolateFromUserFiles(home), "fuzz: no private home folder");
    qputenv("VXRECINFO_PDF_DIR", home.filePath(QStringLiteral("pdf")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    setMessageService(std::make_unique<detail::SilentMessages>());
    setModalService(std::make_unique<detail::ClosingWindows>());
}

// Past the input's end every read gives 0, so any input decodes to something.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool done() const { return m_at >= m_size; }
    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    // One of n choices (n > 0).
    unsigned pick(unsigned n) { return byte() % n; }
    template <class T>
    T raw()
    {
        unsigned char buffer[sizeof(T)] = {};
        for (unsigned char& b : buffer)
            b = byte();
        T value;
        std::memcpy(&value, buffer, sizeof(T));
        return value;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace vxRecInfo::fuzz

// Replay and fuzzing call the target through this entry point.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

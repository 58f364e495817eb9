// SPDX-License-Identifier: MIT
#include "MessageService.h"

#include <QTextStream>

#include <mutex>
#include <vector>

namespace vxRecInfo {

namespace {

// Without a window system there is nobody to ask.
class StandardErrorMessages final : public MessageService
{
public:
    int show(const QString& text, int style, const QString& title) override
    {
        return answerOnStandardError(text, style, title);
    }
};

// The buttons of each button style, left to right.
const std::vector<int>& buttonsOf(int style)
{
    using namespace MsgBox;
    static const std::vector<std::vector<int>> buttons{
        {ResultOK}, {ResultOK, ResultCancel}, {ResultAbort, ResultRetry, ResultIgnore},
        {ResultYes, ResultNo, ResultCancel}, {ResultYes, ResultNo}, {ResultRetry, ResultCancel},
    };
    const std::size_t kind = std::size_t(style & 7);
    return buttons[kind < buttons.size() ? kind : 0];
}

std::mutex g_mutex;
std::unique_ptr<MessageService> g_service;

MessageService& fallback()
{
    static StandardErrorMessages service;
    return service;
}

} // namespace

MessageService& messageService()
{
    std::lock_guard lock(g_mutex);
    return g_service ? *g_service : fallback();
}

std::unique_ptr<MessageService> setMessageService(std::unique_ptr<MessageService> service)
{
    std::lock_guard lock(g_mutex);
    std::swap(g_service, service);
    return service;
}

int answerOnStandardError(const QString& text, int style, const QString& title)
{
    QTextStream stream(stderr);
    return answerOnStream(stream, text, style, title);
}

int answerOnStream(QTextStream& stream, const QString& text, int style, const QString& title)
{
    stream << title << ": " << text << '\n';
    const std::vector<int>& buttons = buttonsOf(style);
    const std::size_t chosen = std::size_t((style & 0x300) >> 8);
    return buttons[chosen < buttons.size() ? chosen : 0];
}

int showMessage(const QString& text, int style, const QString& title)
{
    return messageService().show(text, style, title);
}

} // namespace vxRecInfo

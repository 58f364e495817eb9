#include "MessageService.h"

#include <QTextStream>

#include <mutex>

namespace vxRecInfo {

namespace {

// Without a window system there is nobody to ask: the text goes to standard error and the
// first button counts as pressed.
class StandardErrorMessages final : public MessageService
{
public:
    int show(const QString& text, int style, const QString& title) override
    {
        QTextStream(stderr) << title << ": " << text << '\n';
        switch (style & 7) {
        case MsgBox::YesNo: return MsgBox::ResultYes;
        default: return MsgBox::ResultOK;
        }
    }
};

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

int showMessage(const QString& text, int style, const QString& title)
{
    return messageService().show(text, style, title);
}

} // namespace vxRecInfo

#include "XTestInput.h"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <cstdlib>

namespace vxRecInfo::testing {

struct XTestInput::Connection {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_key_symbols_t* symbols = nullptr;
    ~Connection()
    {
        if (symbols)
            xcb_key_symbols_free(symbols);
        if (connection)
            xcb_disconnect(connection);
    }
};

XTestInput::XTestInput() : m_x(std::make_unique<Connection>())
{
    int screen = 0;
    m_x->connection = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(m_x->connection))
        return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_x->connection));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    m_x->root = it.data ? it.data->root : XCB_NONE;
    m_x->symbols = xcb_key_symbols_alloc(m_x->connection);
}

XTestInput::~XTestInput() = default;

bool XTestInput::isValid() const
{
    if (!m_x->connection || xcb_connection_has_error(m_x->connection) || m_x->root == XCB_NONE)
        return false;
    xcb_test_get_version_reply_t* version = xcb_test_get_version_reply(
        m_x->connection, xcb_test_get_version(m_x->connection, 2, 2), nullptr);
    const bool present = version != nullptr;
    std::free(version);
    return present;
}

void XTestInput::fake(std::uint8_t type, std::uint8_t detail, QPoint at)
{
    xcb_test_fake_input(m_x->connection, type, detail, XCB_CURRENT_TIME, m_x->root, std::int16_t(at.x()),
                        std::int16_t(at.y()), 0);
    sync();
}

// A round trip: the server has handled every request before it answers this one.
void XTestInput::sync()
{
    std::free(xcb_get_input_focus_reply(m_x->connection, xcb_get_input_focus(m_x->connection), nullptr));
}

std::uint8_t XTestInput::keycode(std::uint32_t keysym)
{
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(m_x->symbols, keysym);
    const std::uint8_t code = codes ? codes[0] : 0;
    std::free(codes);
    return code;
}

void XTestInput::moveTo(QPoint global)
{
    fake(XCB_MOTION_NOTIFY, 0, global);
}

void XTestInput::press(int button)
{
    fake(XCB_BUTTON_PRESS, std::uint8_t(button));
}

void XTestInput::release(int button)
{
    fake(XCB_BUTTON_RELEASE, std::uint8_t(button));
}

void XTestInput::click(QPoint global, int button)
{
    moveTo(global);
    press(button);
    release(button);
}

void XTestInput::key(std::uint32_t keysym, std::initializer_list<std::uint32_t> modifiers)
{
    for (std::uint32_t m : modifiers)
        fake(XCB_KEY_PRESS, keycode(m));
    fake(XCB_KEY_PRESS, keycode(keysym));
    fake(XCB_KEY_RELEASE, keycode(keysym));
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        fake(XCB_KEY_RELEASE, keycode(*m));
}

void XTestInput::resizeWindow(unsigned long window, int width, int height)
{
    const std::uint32_t size[] = {std::uint32_t(width), std::uint32_t(height)};
    xcb_configure_window(m_x->connection, xcb_window_t(window), XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    sync();
}

} // namespace vxRecInfo::testing

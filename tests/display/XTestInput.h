#pragma once
// Input as a user gives it: key presses and mouse moves sent to the X server through its XTEST
// extension, so they come back to Qt as the server's own events, with the focus, grabs and
// modality the server and Qt apply. Each call returns once the server has handled the request;
// the caller waits for the application to react.

#include <QPoint>

#include <cstdint>
#include <initializer_list>
#include <memory>

namespace vxRecInfo::testing {

class XTestInput
{
public:
    XTestInput(); // the display of $DISPLAY
    ~XTestInput();
    XTestInput(const XTestInput&) = delete;
    XTestInput& operator=(const XTestInput&) = delete;

    bool isValid() const;

    void moveTo(QPoint global);
    void press(int button = 1);
    void release(int button = 1);
    void click(QPoint global, int button = 1);
    // key (an X keysym) pressed and released while modifiers (keysyms too) are held.
    void key(std::uint32_t keysym, std::initializer_list<std::uint32_t> modifiers = {});
    // Resizes a top-level window as a window manager would.
    void resizeWindow(unsigned long window, int width, int height);

private:
    void fake(std::uint8_t type, std::uint8_t detail, QPoint at = {});
    void sync();
    std::uint8_t keycode(std::uint32_t keysym);

    struct Connection;
    std::unique_ptr<Connection> m_x;
};

// Keysyms the tests use.
namespace Keysym {
inline constexpr std::uint32_t Tab = 0xff09, Return = 0xff0d, Escape = 0xff1b, ShiftL = 0xffe1, ControlL = 0xffe3;
inline constexpr std::uint32_t a = 0x61, c = 0x63, x = 0x78;
} // namespace Keysym

} // namespace vxRecInfo::testing

// SPDX-License-Identifier: MIT
#pragma once
// Input as a user gives it, by xdotool: key presses and mouse moves go to the X server through
// its XTEST extension and come back to Qt as the server's own events, with the focus, grabs and
// modality the server and Qt apply. Each call returns once the server has handled the input
// (xdotool's connection ends with a round trip); the caller waits for the application to react.

#include <QPoint>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace vxRecInfo::testing {

class XdoInput
{
public:
    bool isValid() const { return run({QStringLiteral("getmouselocation")}); } // on $DISPLAY

    void moveTo(QPoint global) { xdo({QStringLiteral("mousemove"), number(global.x()), number(global.y())}); }
    void press(int button = 1) { xdo({QStringLiteral("mousedown"), number(button)}); }
    void release(int button = 1) { xdo({QStringLiteral("mouseup"), number(button)}); }
    void click(QPoint global, int button = 1)
    {
        xdo({QStringLiteral("mousemove"), number(global.x()), number(global.y()), QStringLiteral("click"), number(button)});
    }
    // Keys as xdotool names them: "Tab", "shift+Tab", "ctrl+c".
    void key(const char* keys) { xdo({QStringLiteral("key"), QString::fromLatin1(keys)}); }
    // Resizes a top-level window as a window manager would.
    void resizeWindow(unsigned long window, int width, int height)
    {
        xdo({QStringLiteral("windowsize"), number(qulonglong(window)), number(width), number(height)});
    }

private:
    template <class N>
    static QString number(N n) { return QString::number(n); }
    static bool run(const QStringList& args)
    {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), args);
        return xdotool.waitForFinished(10000) && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
    }
    static void xdo(const QStringList& args) { EXPECT_TRUE(run(args)) << "xdotool " << args.join(u' ').toStdString(); }
};

} // namespace vxRecInfo::testing

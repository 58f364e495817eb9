// SPDX-License-Identifier: MIT
#pragma once
// Modal message boxes go through this seam: the windows install a service that shows real
// boxes, tests install one that records and answers, and without either the text goes to
// standard error. Nothing here ever blocks a headless run.

#include <QString>

#include <memory>

class QTextStream;

namespace vxRecInfo {

// Button and icon flags and results with the values of the classic MsgBox constants.
namespace MsgBox {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;

inline constexpr int ResultOK = 1;
inline constexpr int ResultCancel = 2;
inline constexpr int ResultAbort = 3;
inline constexpr int ResultRetry = 4;
inline constexpr int ResultIgnore = 5;
inline constexpr int ResultYes = 6;
inline constexpr int ResultNo = 7;
} // namespace MsgBox

class MessageService
{
public:
    virtual ~MessageService() = default;
    // Shows text modally with the buttons and icon of style; returns the button pressed.
    virtual int show(const QString& text, int style, const QString& title) = 0;
};

// The service in use.
MessageService& messageService();
// Installs a service and returns the one it replaces (null for the built-in fallback).
std::unique_ptr<MessageService> setMessageService(std::unique_ptr<MessageService> service);

// Where nobody can answer: writes "title: text" to standard error (or to stream) and returns
// the box's default button.
int answerOnStandardError(const QString& text, int style, const QString& title);
int answerOnStream(QTextStream& stream, const QString& text, int style, const QString& title);

// A message box through the service in use.
int showMessage(const QString& text, int style, const QString& title);

} // namespace vxRecInfo

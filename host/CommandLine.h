// SPDX-License-Identifier: MIT
#pragma once
// recinfo's command line: every command with its arguments, options and help, parsed by
// QCommandLineParser. A wrong argument is one line on standard error and exit status 2.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace recinfo {

// Exit statuses, as the help documents them.
enum Status { Done = 0, Failed = 1, UsageError = 2 };

// A usage error found by a command in its own values ("--dataset needs a number"):
// runCommandLine catches it, says so in one line and returns UsageError.
struct UsageProblem {
    QString message;
};

struct Command {
    QString name;
    QStringList arguments;  // as the help names them; "ID..." takes one or more
    QString summary;        // one line for the list of commands
    QString description;    // one paragraph, wrapped when printed
    QList<QCommandLineOption> options;
    std::function<int(const QCommandLineParser& parsed, QTextStream& out, QTextStream& err)> run;
};

// What the overview help and --version show; the commands list their own options.
struct Program {
    QString summary; // what the program does, one sentence
    QString notes;   // a paragraph after the commands
    QString version; // the --version text
    QList<Command> commands;
};

// Runs `recinfo args...` (args without the program name): --help, --help-all, --version, help
// [COMMAND], or a command with its arguments parsed. Returns the exit status.
int runCommandLine(const Program& program, const QStringList& args, QTextStream& out, QTextStream& err);

// The option that hides the progress shown on a terminal, and whether to show it.
QCommandLineOption quietOption();
bool progressWanted(const QCommandLineParser& parsed);

// A whole number from an option's value; a UsageProblem naming the option when it is none.
int intOption(const QCommandLineParser& parsed, const QString& name, int fallback);
double doubleOption(const QCommandLineParser& parsed, const QString& name, double fallback);

// A recordings file named as given, or else a bundled sample of that name.
QString inputFile(const QString& name);

// An error description on one line: the component's run-list errors put the failing procedure
// on a line of its own, and recinfo says every error in one line.
QString oneLine(QString text);

} // namespace recinfo

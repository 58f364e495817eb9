// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace recinfo {

namespace {

constexpr qsizetype Width = 79;
// Where the text of an option (or of a command in the list) starts; a longer tag has its text
// on the next line, which help2man reads from 20 columns in.
constexpr qsizetype OptionColumn = 24;
constexpr qsizetype CommandColumn = 27;
constexpr qsizetype StatusColumn = 5;

const QCommandLineOption HelpOption({QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Print this help."));

// The words of text in lines of at most width columns.
QStringList filled(const QString& text, qsizetype width)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

QString paragraph(const QString& text)
{
    return filled(text, Width).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// "  tag    text", the text filled from column on.
QString tagged(const QString& tag, const QString& text, qsizetype column = OptionColumn)
{
    const QString indent(column, QLatin1Char(' '));
    QString result = QStringLiteral("  ") + tag;
    if (result.size() + 2 > column)
        result += QLatin1Char('\n') + indent;
    else
        result = result.leftJustified(column);
    result += filled(text, Width - column).join(QLatin1Char('\n') + indent);
    return result + QLatin1Char('\n');
}

QString dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString optionTag(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names())
        names << dashed(name);
    QString tag = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        tag += QLatin1Char(' ') + option.valueName();
    return tag;
}

QString synopsis(const Command& command, bool withOptions = true)
{
    QStringList words = QStringList{command.name} + command.arguments;
    if (withOptions && !command.options.isEmpty())
        words << QStringLiteral("[OPTIONS]");
    return words.join(QLatin1Char(' '));
}

QString optionsText(const QList<QCommandLineOption>& options)
{
    QString text;
    for (const QCommandLineOption& option : options)
        text += tagged(optionTag(option), option.description());
    return text;
}

// What QCommandLineParser found wrong, as one clause.
QString problemOf(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("unknown option '%1'").arg(dashed(unknown.front()));
    QString text = parser.errorText();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// The option's value as read() reads it; a UsageProblem naming the option when read() finds none.
template <class Number, class Read>
Number numberOption(const QCommandLineParser& parsed, const QString& name, Number fallback, const char* needs,
                    Read read)
{
    if (!parsed.isSet(name))
        return fallback;
    bool ok = false;
    const Number value = read(parsed.value(name), &ok);
    if (!ok)
        throw UsageProblem{
            QStringLiteral("%1 needs %2, not '%3'").arg(dashed(name), QLatin1String(needs), parsed.value(name))};
    return value;
}

int usageError(QTextStream& err, const QString& command, const QString& problem)
{
    const QString program = command.isEmpty() ? QStringLiteral("recinfo") : QStringLiteral("recinfo ") + command;
    err << program << ": " << problem << ". Try '" << program << " --help'.\n";
    return UsageError;
}

const Command* find(const Program& program, const QString& name)
{
    for (const Command& command : program.commands)
        if (command.name == name)
            return &command;
    return nullptr;
}

// The positional arguments against the command's: a clause naming what is wrong, or empty.
QString argumentProblem(const Command& command, const QStringList& given)
{
    const QStringList& wanted = command.arguments;
    const bool many = !wanted.isEmpty() && wanted.back().endsWith(QLatin1String("..."));
    if (given.size() < wanted.size()) {
        QString missing = wanted[given.size()];
        if (missing.endsWith(QLatin1String("...")))
            missing.chop(3);
        return QStringLiteral("%1 is missing").arg(missing);
    }
    if (!many && given.size() > wanted.size())
        return QStringLiteral("unexpected argument '%1'").arg(given[wanted.size()]);
    return {};
}

QString commandHelp(const Command& command)
{
    return QStringLiteral("Usage: recinfo ") + synopsis(command) + QStringLiteral("\n\n") + paragraph(command.description)
        + QStringLiteral("\nOptions:\n") + optionsText(command.options + QList<QCommandLineOption>{HelpOption});
}

// The installed documents' folder: relative to the prefix of the running program, or absolute.
QString documentsFolder()
{
    const QDir prefix(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    return QDir::cleanPath(prefix.filePath(QStringLiteral(VXRECINFO_DOC_DIR)));
}

// With all, every command in full, for the manual page.
QString programHelp(const Program& program, bool all = false)
{
    QString help = QStringLiteral("Usage: recinfo COMMAND [ARGUMENTS] [OPTIONS]\n"
                                  "  or:  recinfo help [COMMAND]\n"
                                  "  or:  recinfo --help | --help-all | --version\n\n");
    help += paragraph(program.summary) + QStringLiteral("\nCommands:\n");
    for (const Command& command : program.commands)
        help += tagged(synopsis(command, false), command.summary, CommandColumn);
    help += tagged(QStringLiteral("help [COMMAND]"), QStringLiteral("Print this text, or the help of COMMAND."),
                   CommandColumn);
    // In full, a command is a sub-section of its own (for help2man): its synopsis, then its
    // description and options indented.
    for (qsizetype i = 0; all && i < program.commands.size(); ++i) {
        const Command& command = program.commands[i];
        help += QStringLiteral("\nrecinfo ") + synopsis(command) + QStringLiteral(":\n");
        for (const QString& line : filled(command.description, Width - 2))
            help += QStringLiteral("  ") + line + QLatin1Char('\n');
        if (!command.options.isEmpty())
            help += QLatin1Char('\n') + optionsText(command.options);
    }
    help += QLatin1Char('\n') + paragraph(program.notes);
    help += QStringLiteral("\nExit status:\n")
        + tagged(QStringLiteral("0"), QStringLiteral("done"), StatusColumn)
        + tagged(QStringLiteral("1"), QStringLiteral("a failing commit or service; the message says which"), StatusColumn)
        + tagged(QStringLiteral("2"),
                 QStringLiteral("a usage error: an unknown command or option, a missing or wrong argument"),
                 StatusColumn);
    help += QStringLiteral("\nOptions:\n")
        + tagged(QStringLiteral("-h, --help"), QStringLiteral("Print this text; after a command, that command's help."))
        + tagged(QStringLiteral("--help-all"), QStringLiteral("Print this text with every command in full."))
        + tagged(QStringLiteral("--version"), QStringLiteral("Print the versions of recinfo, the component and Qt."));
    if (!all)
        help += QLatin1Char('\n')
            + paragraph(QStringLiteral("Run 'recinfo help COMMAND' for a command in full. The manual: man recinfo; the "
                                       "recordings file and the component: the README and recordings-file documents "
                                       "in %1.")
                            .arg(documentsFolder()));
    return help;
}

} // namespace

int runCommandLine(const Program& program, const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QCommandLineOption helpAll(QStringLiteral("help-all"));
    const QCommandLineOption version(QStringLiteral("version"));
    QCommandLineParser top;
    // Everything after the command is the command's: its own parser reads it.
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    top.addOptions({HelpOption, helpAll, version});
    if (!top.parse(QStringList{QStringLiteral("recinfo")} + args))
        return usageError(err, {}, problemOf(top));
    if (top.isSet(version)) {
        out << program.version;
        return Done;
    }
    QStringList rest = top.positionalArguments();
    if (top.isSet(helpAll) || (rest.isEmpty() && top.isSet(HelpOption))) {
        out << programHelp(program, top.isSet(helpAll));
        return Done;
    }
    if (rest.isEmpty())
        return usageError(err, {}, QStringLiteral("no command given"));
    QString name = rest.takeFirst();
    bool helpWanted = top.isSet(HelpOption);
    if (name == QLatin1String("help")) {
        if (rest.size() > 1)
            return usageError(err, {}, QStringLiteral("help takes one command, not '%1'").arg(rest.join(QLatin1Char(' '))));
        if (rest.isEmpty()) {
            out << programHelp(program);
            return Done;
        }
        name = rest.takeFirst();
        helpWanted = true;
    }
    const Command* command = find(program, name);
    if (!command)
        return usageError(err, {}, QStringLiteral("unknown command '%1'").arg(name));
    if (helpWanted) {
        out << commandHelp(*command);
        return Done;
    }

    QCommandLineParser parser;
    parser.addOptions(command->options);
    parser.addOption(HelpOption);
    if (!parser.parse(QStringList{QStringLiteral("recinfo")} + rest))
        return usageError(err, name, problemOf(parser));
    if (parser.isSet(HelpOption)) {
        out << commandHelp(*command);
        return Done;
    }
    if (const QString problem = argumentProblem(*command, parser.positionalArguments()); !problem.isEmpty())
        return usageError(err, name, problem);
    try {
        return command->run(parser, out, err);
    } catch (const UsageProblem& problem) {
        return usageError(err, name, problem.message);
    }
}

QCommandLineOption quietOption()
{
    return QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                              QStringLiteral("No progress on standard error."));
}

bool progressWanted(const QCommandLineParser& parsed)
{
    return !parsed.isSet(QStringLiteral("quiet")) && isatty(STDERR_FILENO);
}

int intOption(const QCommandLineParser& parsed, const QString& name, int fallback)
{
    return numberOption(parsed, name, fallback, "a whole number",
                        [](const QString& text, bool* ok) { return text.toInt(ok); });
}

double doubleOption(const QCommandLineParser& parsed, const QString& name, double fallback)
{
    return numberOption(parsed, name, fallback, "a number",
                        [](const QString& text, bool* ok) { return text.toDouble(ok); });
}

QString inputFile(const QString& name)
{
    if (QFileInfo::exists(name) || QDir::isAbsolutePath(name))
        return name;
    const QString sample = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vxRecInfo/samples/") + name;
    return QFileInfo::exists(sample) ? QDir::cleanPath(sample) : name;
}

QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(": "));
    text.replace(QLatin1Char('\n'), QLatin1String(": "));
    text.replace(QLatin1Char('\r'), QLatin1String(": "));
    return text;
}

} // namespace recinfo

// SPDX-License-Identifier: MIT
// Whole reports against reviewed golden files: every line, tab and run. The cases are listed in
// tests/data/reports/*.cases; edge-case recordings live in tests/data/recordings.

#include "Commands.h"

#include "component/ModuleState.h"
#include "component/SuiteSettings.h"
#include "support/MessageService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vxRecInfo;

namespace {

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString recordingsPath(const QString& name)
{
    const QString sample = QStringLiteral(VX_SAMPLES_DIR "/") + name;
    return QFile::exists(sample) ? sample : QStringLiteral(VX_TEST_DATA_DIR "/recordings/") + name;
}

// The recordings as a user of another language has them ("@ja_JP:2000"): locale and ResOffset as a host
// in that language sets them.
QString translated(const QString& path, const QString& language, const QTemporaryDir& dir)
{
    const QStringList parts = language.mid(1).split(QLatin1Char(':'));
    QString json = readFile(path);
    json.replace(QStringLiteral("\"locale\": \"en_US\""), QStringLiteral("\"locale\": \"%1\"").arg(parts.value(0)))
        .replace(QStringLiteral("\"ResOffset\": 0"), QStringLiteral("\"ResOffset\": %1").arg(parts.value(1)));
    const QString copy = dir.filePath(parts.value(0) + QStringLiteral(".json"));
    QFile file(copy);
    return file.open(QIODevice::WriteOnly) && file.write(json.toUtf8()) > 0 ? copy : QString();
}

// Message boxes into the compared output, as the host writes them to standard error.
class MessagesInto final : public MessageService
{
public:
    explicit MessagesInto(QTextStream& stream) : m_stream(stream) {}
    int show(const QString& text, int style, const QString& title) override
    {
        return answerOnStream(m_stream, text, style, title);
    }

private:
    QTextStream& m_stream;
};

// The first line that differs, for a readable failure.
std::string firstDifference(const QString& expected, const QString& actual)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r?\n"));
    const QStringList e = expected.split(lineEnd);
    const QStringList a = actual.split(lineEnd);
    for (qsizetype i = 0; i < std::max(e.size(), a.size()); ++i)
        if (e.value(i) != a.value(i))
            return QStringLiteral("line %1:\n  expected: %2\n  actual:   %3").arg(i + 1).arg(e.value(i), a.value(i)).toStdString();
    return "no difference";
}

} // namespace

TEST(ReportGolden, ReportsMatchTheirReviewedFiles)
{
    const QDir reports(QStringLiteral(VX_TEST_DATA_DIR "/reports"));
    QStringList lines;
    for (const QString& list : reports.entryList({QStringLiteral("*.cases")}, QDir::Files, QDir::Name))
        lines += readFile(reports.filePath(list)).split(QLatin1Char('\n'));
    const recinfo::Program program = recinfo::recinfoProgram();
    QStringList commands;
    for (const recinfo::Command& command : program.commands)
        commands << command.name;
    const QTemporaryDir dir;
    int checked = 0;
    for (const QString& line : lines) {
        QStringList words = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (words.size() < 2 || words.front().startsWith(QLatin1Char('#')))
            continue;
        const QString golden = words.takeFirst();
        QString recordings = recordingsPath(words.takeFirst());
        if (!words.isEmpty() && words.front().startsWith(QLatin1Char('@')))
            recordings = translated(recordings, words.takeFirst(), dir);
        const QString command = !words.isEmpty() && commands.contains(words.front()) ? words.takeFirst()
                                                                                    : QStringLiteral("report");
        ModuleState::endApartment();
        QString output;
        QTextStream out(&output);
        auto before = setMessageService(std::make_unique<MessagesInto>(out));
        recinfo::runCommandLine(program, QStringList{command, recordings} + words, out, out);
        setMessageService(std::move(before));
        out.flush();
        output.replace(QFileInfo(recordings).absolutePath() + QLatin1Char('/'), QString()); // messages name the file alone
        const QString expected = readFile(reports.filePath(golden));
        EXPECT_FALSE(expected.isEmpty()) << "missing golden file " << golden.toStdString();
        EXPECT_TRUE(output == expected) << golden.toStdString() << ", " << firstDifference(expected, output);
        ++checked;
    }
    EXPECT_GE(checked, 7) << "the list of cases was not read";
    ModuleState::endApartment();
    setSuiteSettingsFile({});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Whole reports of the bundled samples against reviewed golden files: every line, tab and run.

#include "ReportCommands.h"

#include "component/ModuleState.h"
#include "component/SuiteSettings.h"

#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

using namespace vxRecInfo;

namespace {

struct GoldenCase {
    const char* golden;
    const char* sample;
    std::vector<const char*> options;
};

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The first line that differs, for a readable failure.
std::string firstDifference(const QString& expected, const QString& actual)
{
    const QStringList e = expected.split(QStringLiteral("\r\n"));
    const QStringList a = actual.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < std::max(e.size(), a.size()); ++i)
        if (e.value(i) != a.value(i))
            return QStringLiteral("line %1:\n  expected: %2\n  actual:   %3").arg(i + 1).arg(e.value(i), a.value(i)).toStdString();
    return "no difference";
}

} // namespace

TEST(ReportGolden, SampleReportsMatchTheirReviewedFiles)
{
    const GoldenCase cases[] = {
        {"four-channel-temperature-1-print-details.txt", "four-channel-temperature.json", {"--details", "--form", "print"}},
        {"four-channel-temperature-2-interactive.txt", "four-channel-temperature.json", {"--dataset", "2"}},
        {"temp-humidity-1-interactive-details.txt", "temp-humidity.json", {"--details"}},
        {"rf-network-alarms-1-batch-details.txt", "rf-network-alarms.json",
         {"--details", "--form", "batch", "--job", "17", "--page", "3", "--pages", "9"}},
        {"rf-network-alarms-2-print-details.txt", "rf-network-alarms.json", {"--dataset", "2", "--details", "--form", "print"}},
    };
    for (const GoldenCase& c : cases) {
        ModuleState::endApartment();
        QStringList args{QStringLiteral(VX_SAMPLES_DIR "/") + QString::fromLatin1(c.sample)};
        for (const char* option : c.options)
            args << QString::fromLatin1(option);
        QString output;
        QString errors;
        QTextStream out(&output);
        QTextStream err(&errors);
        ASSERT_EQ(recinfo::reportCommand(args, out, err), 0) << c.golden << ": " << errors.toStdString();
        out.flush();
        const QString expected = readFile(QStringLiteral(VX_TEST_DATA_DIR "/reports/") + QString::fromLatin1(c.golden));
        ASSERT_FALSE(expected.isEmpty()) << "missing golden file " << c.golden;
        EXPECT_EQ(output, expected) << c.golden << "\n" << firstDifference(expected, output);
    }
    ModuleState::endApartment();
    setSuiteSettingsFile({});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

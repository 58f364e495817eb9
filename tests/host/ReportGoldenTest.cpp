// Whole reports of the bundled samples against reviewed golden files: every line, tab and run.

#include "ReportCommands.h"

#include "component/ModuleState.h"
#include "component/SuiteSettings.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vxRecInfo;

namespace {

struct GoldenCase {
    const char* golden;
    const char* sample;
    std::vector<const char*> options;
    const char* locale = nullptr; // the user's language instead of the sample's English:
    int resOffset = 0;            // locale and ResOffset as a host in that language sets them
};

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The sample as a user of another language has it.
QString translated(const QString& sample, const GoldenCase& c, const QTemporaryDir& dir)
{
    if (!c.locale)
        return sample;
    QString json = readFile(sample);
    json.replace(QStringLiteral("\"locale\": \"en_US\""), QStringLiteral("\"locale\": \"%1\"").arg(QLatin1String(c.locale)))
        .replace(QStringLiteral("\"ResOffset\": 0"), QStringLiteral("\"ResOffset\": %1").arg(c.resOffset));
    const QString path = dir.filePath(QLatin1String(c.locale) + QStringLiteral(".json"));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(json.toUtf8()) > 0 ? path : QString();
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
        // Zone names and days in the user's language, from the default host objects.
        {"rf-network-alarms-1-print-details-ja.txt", "rf-network-alarms.json", {"--details", "--form", "print"}, "ja_JP", 2000},
        {"rf-network-alarms-1-print-details-fr.txt", "rf-network-alarms.json", {"--details", "--form", "print"}, "fr_CA", 8000},
    };
    const QTemporaryDir dir;
    for (const GoldenCase& c : cases) {
        ModuleState::endApartment();
        QStringList args{QStringLiteral("report"),
                         translated(QStringLiteral(VX_SAMPLES_DIR "/") + QString::fromLatin1(c.sample), c, dir)};
        for (const char* option : c.options)
            args << QString::fromLatin1(option);
        QString output, errors;
        QTextStream out(&output), err(&errors);
        ASSERT_EQ(recinfo::runCommandLine({{}, {}, {}, {recinfo::reportCommand()}}, args, out, err), 0)
            << c.golden << ": " << errors.toStdString();
        out.flush();
        const QString expected = readFile(QStringLiteral(VX_TEST_DATA_DIR "/reports/") + QString::fromLatin1(c.golden));
        ASSERT_FALSE(expected.isEmpty()) << "missing golden file " << c.golden;
        EXPECT_EQ(output, expected) << c.golden << "\n" << firstDifference(expected, output);
    }
    ModuleState::endApartment();
    setSuiteSettingsFile({});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

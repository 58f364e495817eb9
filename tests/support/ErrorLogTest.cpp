// SPDX-License-Identifier: MIT
#include "component/RecordFixture.h"

#include "automation/ClassRegistry.h"
#include "hostclasses/DefaultHostClasses.h"
#include "component/HostObjects.h"
#include "support/ErrorLog.h"
#include "support/MessageService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <unistd.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class ErrorLog : public RecordFixture
{
protected:
    void SetUp() override
    {
        RecordFixture::SetUp();
        writeSetting(QStringLiteral("HostSettings/RFIDPath"), m_dir.path());
    }
    QStringList logLines() const
    {
        QFile file(m_dir.filePath(QStringLiteral("ErrorLog.txt")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        if (lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

} // namespace

TEST_F(ErrorLog, NoRecordWhenTheFolderCannotBeRead)
{
    // Host settings that cannot be made cannot say where the log goes.
    ClassRegistry::instance().registerClass(
        {HostClasses::HostSettingsClsid, {}, {}, [] { return ComPtr<IUnknown>(); }});
    QTemporaryDir elsewhere;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    LogError(true, QStringLiteral("6"), QStringLiteral("Overflow"), QStringLiteral("m"), QStringLiteral("f"));
    QDir::setCurrent(previous);
    registerDefaultHostClasses();
    EXPECT_EQ(shown.size(), 1u) << "the message is still shown";
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty()) << "the log must never land in the current directory";
}

TEST_F(ErrorLog, ShowsTheMessageAndAppendsOneRecord)
{
    qputenv("USERNAME", "jdoe");
    qputenv("COMPUTERNAME", "QA-PC-07");
    LogError(true, QStringLiteral("482"), QStringLiteral("Printer error"), QStringLiteral("frmPrinterDlg"),
             QStringLiteral("cmdOk_Click"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Error Occurred: 482\r\nDescription: Printer error\r\n"
                                            "Module: frmPrinterDlg\r\nFunction: cmdOk_Click"));
    EXPECT_EQ(shown[0].style, MsgBox::Critical | MsgBox::OKOnly);
    EXPECT_EQ(shown[0].title, QStringLiteral("vxRecInfo - ERROR"));

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1);
    static const QRegularExpression record(QStringLiteral(
        R"(^#\d{4}-\d\d-\d\d \d\d:\d\d:\d\d#,"482","Printer error","frmPrinterDlg","cmdOk_Click","vxRecInfo v\d+\.\d+\.\d+","jdoe","QA-PC-07"$)"));
    EXPECT_TRUE(record.match(lines[0]).hasMatch()) << lines[0].toStdString();
    qunsetenv("USERNAME");
    qunsetenv("COMPUTERNAME");
}

TEST_F(ErrorLog, QuietCallsStillWriteAndNeverTruncateAndAnUnsetUserIsAnEmptyField)
{
    const QByteArray savedUser = qgetenv("USER");
    qunsetenv("USERNAME");
    qunsetenv("USER");
    LogError(false, QStringLiteral("5"), QString(), QStringLiteral("frmPrinterDlg"), QStringLiteral("cboPrinter_Change"));
    LogError(false, QStringLiteral("9"), QStringLiteral("Subscript out of range"), QString(), QString());
    qputenv("USER", savedUser);
    EXPECT_TRUE(shown.empty()) << "show message False must not show anything";
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2) << "the second call must append, not replace";
    EXPECT_TRUE(lines[0].contains(QStringLiteral(R"("5","","frmPrinterDlg")"))) << "an empty description stays a field";
    EXPECT_TRUE(lines[1].contains(QStringLiteral(R"("9","Subscript out of range","","")")));
    EXPECT_TRUE(lines[0].contains(QRegularExpression(QStringLiteral(R"("vxRecInfo v[\d.]+","",)")))) << lines[0].toStdString();
}

TEST_F(ErrorLog, MessageLinesFollowWhatIsGiven)
{
    EXPECT_EQ(errorMessageText(QStringLiteral("13"), QString(), QStringLiteral("M"), QStringLiteral("F")),
              QStringLiteral("Error Occurred: 13\r\nModule: M\r\nFunction: F"));
    EXPECT_EQ(errorMessageText(QString(), QStringLiteral("D"), QString(), QString()),
              QStringLiteral("Error Occurred: \r\nDescription: D\r\n"));
}

TEST_F(ErrorLog, AnUnwritableFolderIsNoFailure)
{
    writeSetting(QStringLiteral("HostSettings/RFIDPath"), QStringLiteral("/proc/no-such-folder"));
    LogError(true, QStringLiteral("6"), QStringLiteral("Overflow"), QStringLiteral("m"), QStringLiteral("f"));
    EXPECT_EQ(shown.size(), 1u) << "the message is still shown when the file cannot be written";
}

TEST_F(ErrorLog, ALinkedLogIsNotFollowed)
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("target.txt"));
    const QString log = m_dir.filePath(QStringLiteral("ErrorLog.txt"));
    ASSERT_TRUE(QFile::link(target, log));
    LogError(false, QStringLiteral("6"), QStringLiteral("Overflow"), QStringLiteral("m"), QStringLiteral("f"));
    EXPECT_FALSE(QFileInfo::exists(target)) << "the record must be skipped, not written where the link points";

    // Nor through a hard link to a file elsewhere (on the same file system, as hard links are).
    QFile::remove(log);
    const QString other = m_dir.filePath(QStringLiteral("other.txt"));
    QFile file(other);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_EQ(::link(QFile::encodeName(other).constData(), QFile::encodeName(log).constData()), 0);
    LogError(false, QStringLiteral("6"), QStringLiteral("Overflow"), QStringLiteral("m"), QStringLiteral("f"));
    EXPECT_EQ(QFileInfo(other).size(), 0) << "the record must be skipped, not written through a hard link";
}

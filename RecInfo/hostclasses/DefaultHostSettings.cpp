// SPDX-License-Identifier: MIT
#include "DefaultHostClasses.h"
#include "component/HostObjects.h"
#include "component/SuiteSettings.h"

#include "printing/Printer.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace vxRecInfo {

namespace {

enum Member : DispId {
    RestoreParameters = 1,
    ResOffset,
    TScale,
    DFormat,
    RFIDPath,
    DefaultPrinter,
    LeftMargin,
    RightMargin,
    TopMargin,
    BotMargin,
    PdfArchive,
    PdfSigningKey,
    PdfPassphraseFile,
};

const TypeInfo& hostSettingsType()
{
    static const TypeInfo info(
        QStringLiteral("_HostSettings"), HostClasses::HostSettingsIid,
        {
            method(1, QStringLiteral("RestoreParameters"), RestoreParameters, {}),
            propertyGet(2, QStringLiteral("ResOffset"), ResOffset, VarType::Long),
            propertyGet(3, QStringLiteral("TScale"), TScale, VarType::Integer),
            propertyGet(4, QStringLiteral("DFormat"), DFormat, VarType::String),
            propertyGet(5, QStringLiteral("RFIDPath"), RFIDPath, VarType::String),
            propertyGet(6, QStringLiteral("DefaultPrinter"), DefaultPrinter, VarType::String),
            propertyLet(7, QStringLiteral("DefaultPrinter"), DefaultPrinter, VarType::String),
            propertyGet(8, QStringLiteral("LeftMargin"), LeftMargin, VarType::Single),
            propertyGet(9, QStringLiteral("RightMargin"), RightMargin, VarType::Single),
            propertyGet(10, QStringLiteral("TopMargin"), TopMargin, VarType::Single),
            propertyGet(11, QStringLiteral("BotMargin"), BotMargin, VarType::Single),
            // The PDF printer's: PDF/A-1b, and the key that signs its jobs.
            propertyGet(12, QStringLiteral("PdfArchive"), PdfArchive, VarType::Boolean),
            propertyGet(13, QStringLiteral("PdfSigningKey"), PdfSigningKey, VarType::String),
            propertyGet(14, QStringLiteral("PdfPassphraseFile"), PdfPassphraseFile, VarType::String),
        });
    return info;
}

// The error log and other files of the suite go here when the user has chosen no folder.
QString defaultDataFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Orvale Systems/");
    QDir().mkpath(folder);
    return folder;
}

struct Values {
    std::int32_t resOffset = 0;
    std::int16_t tScale = 1;
    QString dFormat = QStringLiteral("0.0");
    QString rfidPath;
    QString defaultPrinter;
    float margins[4] = {1, 1, 1, 1}; // left, right, top, bottom
    bool pdfArchive = false;
    QString pdfSigningKey;
    QString pdfPassphraseFile;
};

Values load()
{
    QSettings file(suiteSettingsFile(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("HostSettings"));
    Values v;
    v.resOffset = Variant(file.value(QStringLiteral("ResOffset"), 0).toString()).toLong();
    v.tScale = Variant(file.value(QStringLiteral("TScale"), 1).toString()).toInteger();
    v.dFormat = file.value(QStringLiteral("DFormat"), v.dFormat).toString();
    v.rfidPath = file.value(QStringLiteral("RFIDPath")).toString();
    if (v.rfidPath.isEmpty())
        v.rfidPath = defaultDataFolder();
    else if (!v.rfidPath.endsWith(QLatin1Char('/')))
        v.rfidPath += QLatin1Char('/');
    v.defaultPrinter = file.value(QStringLiteral("DefaultPrinter")).toString();
    if (v.defaultPrinter.isEmpty())
        v.defaultPrinter = Printers().value(0); // nothing chosen yet: the first printer
    const char* const marginKeys[4] = {"LeftMargin", "RightMargin", "TopMargin", "BotMargin"};
    for (int i = 0; i < 4; ++i)
        v.margins[i] = Variant(file.value(QString::fromLatin1(marginKeys[i]), 1).toString()).toSingle();
    v.pdfArchive = Variant(file.value(QStringLiteral("PdfArchive"), QStringLiteral("False")).toString()).toBool();
    v.pdfSigningKey = file.value(QStringLiteral("PdfSigningKey")).toString();
    v.pdfPassphraseFile = file.value(QStringLiteral("PdfPassphraseFile")).toString();
    return v;
}

class DefaultHostSettings final : public DispatchObject<IDispatch>, public IStableAnswers
{
public:
    const TypeInfo& GetTypeInfo() const override { return hostSettingsType(); }
    // Restored, the values change only when restored again or stored.
    std::uint64_t answersVersion() const override { return m_restored ? m_version : 0; }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override
    {
        if (member.dispId == RestoreParameters) {
            m_values = load();
            m_restored = true;
            ++m_version;
            return {};
        }
        // Until RestoreParameters runs, every read goes to the file.
        Values read;
        if (!m_restored)
            read = load();
        const Values& v = m_restored ? m_values : read;
        switch (member.dispId) {
        case ResOffset: return v.resOffset;
        case TScale: return v.tScale;
        case DFormat: return v.dFormat;
        case RFIDPath: return v.rfidPath;
        case DefaultPrinter:
            if (member.kind == MemberKind::PropertyPut) {
                storeDefaultPrinter(args[0].toString());
                return {};
            }
            return v.defaultPrinter;
        case LeftMargin: return v.margins[0];
        case RightMargin: return v.margins[1];
        case TopMargin: return v.margins[2];
        case BotMargin: return v.margins[3];
        case PdfArchive: return v.pdfArchive;
        case PdfSigningKey: return v.pdfSigningKey;
        case PdfPassphraseFile: return v.pdfPassphraseFile;
        default: throw RuntimeError(Err::ObjectDoesNotSupportMember);
        }
    }

private:
    // The file is the suite's: only this one line of it changes.
    void storeDefaultPrinter(const QString& name)
    {
        storeSuiteSetting(QStringLiteral("HostSettings"), QStringLiteral("DefaultPrinter"), name);
        m_values.defaultPrinter = name;
        ++m_version;
    }

    Values m_values;
    bool m_restored = false;
    std::uint64_t m_version = 0;
};

} // namespace

ComPtr<IUnknown> createDefaultHostSettings()
{
    return ComPtr<IUnknown>(makeObject<DefaultHostSettings>());
}

} // namespace vxRecInfo

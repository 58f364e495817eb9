// SPDX-License-Identifier: MIT
#include "DefaultHostClasses.h"
#include "component/HostObjects.h"
#include "component/SuiteSettings.h"

#include <QFileInfo>
#include <QSettings>

namespace vxRecInfo {

namespace {

enum Member : DispId { GasDecimalsId = 1, ReloadId };

const TypeInfo& fontSettingsType()
{
    static const TypeInfo info(QStringLiteral("_FontSettings"), HostClasses::FontSettingsIid,
                               {
                                   propertyGet(1, QStringLiteral("GasDecimals"), GasDecimalsId, VarType::Boolean),
                                   propertyLet(2, QStringLiteral("GasDecimals"), GasDecimalsId, VarType::Boolean),
                                   method(3, QStringLiteral("Reload"), ReloadId, {}),
                               });
    return info;
}

class DefaultFontSettings final : public DispatchObject<IFontSettings>
{
public:
    const TypeInfo& GetTypeInfo() const override { return fontSettingsType(); }

    HResult get_GasDecimals(bool* value) override
    {
        if (!value)
            return E_POINTER;
        *value = m_gasDecimals;
        return S_OK;
    }
    HResult put_GasDecimals(bool value) override
    {
        m_gasDecimals = value;
        return S_OK;
    }
    HResult Reload() override
    {
        const QString path = suiteSettingsFile();
        QSettings file(path, QSettings::IniFormat);
        if (file.status() != QSettings::NoError || (QFileInfo::exists(path) && !QFileInfo(path).isReadable())) {
            const RuntimeError error(Err::PathFileAccessError,
                                     QStringLiteral("The font settings could not be read from %1").arg(path),
                                     QStringLiteral("FontSettings.Reload"));
            setLastErrorInfo(error.info());
            return error.hresult();
        }
        m_gasDecimals = file.value(QStringLiteral("FontSettings/GasDecimals"), false).toBool();
        return S_OK;
    }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override
    {
        if (member.dispId == ReloadId) {
            checkHResult(Reload());
            return {};
        }
        if (member.kind == MemberKind::PropertyPut)
            m_gasDecimals = args[0].toBool();
        return m_gasDecimals;
    }

private:
    bool m_gasDecimals = false;
};

} // namespace

ComPtr<IUnknown> createDefaultFontSettings()
{
    return ComPtr<IUnknown>(makeObject<DefaultFontSettings>());
}

} // namespace vxRecInfo

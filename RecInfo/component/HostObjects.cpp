// SPDX-License-Identifier: MIT
#include "HostObjects.h"

#include "ModuleState.h"

#include "automation/ClassRegistry.h"

#include <bit>
#include <optional>
#include <vector>

namespace vxRecInfo {

namespace {

ComPtr<IDispatch> create(const QUuid& clsid)
{
    return ClassRegistry::instance().createObject(clsid.toString(QUuid::WithBraces));
}

IDispatch* onFirstUse(ComPtr<IDispatch>& slot, const QUuid& clsid)
{
    if (!slot)
        slot = create(clsid);
    return slot.get();
}

} // namespace

IDispatch* hostSettings()
{
    return onFirstUse(ModuleState::current().HostSettings, HostClasses::HostSettingsClsid);
}

IDispatch* timeZoneService()
{
    return onFirstUse(ModuleState::current().TimeZoneService, HostClasses::TimeZoneServiceClsid);
}

IDispatch* unitConverter()
{
    return onFirstUse(ModuleState::current().UnitConverter, HostClasses::UnitConverterClsid);
}

IFontSettings* fontSettings()
{
    IFontSettings* fonts = ModuleState::current().FontSettings.get();
    if (!fonts)
        throw RuntimeError(Err::ObjectVariableNotSet);
    return fonts;
}

ComPtr<IDispatch> createHostSettings()
{
    return create(HostClasses::HostSettingsClsid);
}

void renewFontSettings()
{
    ComPtr<IFontSettings> fonts = create(HostClasses::FontSettingsClsid).as<IFontSettings>();
    if (!fonts)
        throw RuntimeError(Err::TypeMismatch, QStringLiteral("The FontSettings class does not implement IFontSettings"));
    ModuleState::current().FontSettings = fonts;
    checkHResult(fonts->Reload());
}

void ReleaseTimeZoneService(bool keep)
{
    if (!keep)
        ModuleState::current().TimeZoneService.reset();
}

// One object's answers as far as they are kept: the object (held, so that its address cannot
// come back as another object's), its promise and the version the answers are of.
struct KeptObject {
    ComPtr<IDispatch> object;
    const IStableAnswers* stable = nullptr;
    std::uint64_t version = 0;

    // Whether answers of now (the apartment's object) may be kept; false drops those kept.
    bool holds(IDispatch* now, bool& dropped)
    {
        if (now != object.get()) {
            object = ComPtr<IDispatch>(now);
            stable = dynamic_cast<const IStableAnswers*>(now);
            version = 0;
            dropped = true;
        }
        const std::uint64_t current = stable ? stable->answersVersion() : 0;
        if (current != version) {
            version = current;
            dropped = true;
        }
        return version != 0;
    }
};

struct HostValueCache {
    KeptObject settings;
    KeptObject converter;
    std::optional<std::int32_t> resOffset;
    std::optional<std::int16_t> tScale;
    std::optional<QString> dFormat;
    // Conversions by the bits of their argument; a batch meets few different ones.
    std::vector<std::pair<std::uint64_t, QString>> seconds;
    std::vector<std::pair<std::uint64_t, QString>> elapsed[2];

    // The settings' answers, if they may be kept.
    bool settingsHold()
    {
        bool dropped = false;
        const bool holds = settings.holds(hostSettings(), dropped);
        if (dropped) {
            resOffset.reset();
            tScale.reset();
            dFormat.reset();
            dropConversions();
        }
        return holds;
    }

    // The converter's, which read the settings (the user's language). A converter that
    // promises nothing is asked before the settings are even looked at, as the call would.
    bool conversionsHold()
    {
        bool dropped = false;
        const bool holds = converter.holds(unitConverter(), dropped);
        if (dropped)
            dropConversions();
        return holds && settingsHold();
    }

    void dropConversions()
    {
        seconds.clear();
        elapsed[0].clear();
        elapsed[1].clear();
    }
};

namespace {

HostValueCache* openCache()
{
    return ModuleState::current().HostValues;
}

constexpr std::size_t MaxKeptConversions = 256;

// Numbers become a Double exactly and without fail.
bool plainNumber(const Variant& v)
{
    const VarType t = v.varType();
    return t == VarType::Integer || t == VarType::Long || t == VarType::Single || t == VarType::Double;
}

template <class Convert>
QString keptConversion(std::vector<std::pair<std::uint64_t, QString>>& kept, double argument, Convert convert)
{
    const std::uint64_t key = std::bit_cast<std::uint64_t>(argument);
    for (const auto& [k, text] : kept)
        if (k == key)
            return text;
    QString text = convert();
    if (kept.size() < MaxKeptConversions)
        kept.emplace_back(key, text);
    return text;
}

} // namespace

HostValueScope::HostValueScope() : m_cache(std::make_unique<HostValueCache>()), m_previous(openCache())
{
    ModuleState::current().HostValues = m_cache.get();
}

HostValueScope::~HostValueScope()
{
    ModuleState& state = ModuleState::current();
    if (state.HostValues == m_cache.get())
        state.HostValues = m_previous;
}

namespace {

// A HostSettings property, kept in slot while the settings hold.
template <class T, class Read>
T setting(std::optional<T> HostValueCache::*slot, const QString& name, Read read)
{
    const auto ask = [&] { return read(lateGet(hostSettings(), name)); };
    HostValueCache* cache = openCache();
    if (!cache || !cache->settingsHold())
        return ask();
    std::optional<T>& kept = cache->*slot;
    if (!kept)
        kept = ask();
    return *kept;
}

} // namespace

std::int32_t settingResOffset()
{
    return setting(&HostValueCache::resOffset, QStringLiteral("ResOffset"), [](const Variant& v) { return v.toLong(); });
}

std::int16_t settingTScale()
{
    return setting(&HostValueCache::tScale, QStringLiteral("TScale"), [](const Variant& v) { return v.toInteger(); });
}

QString settingDFormat()
{
    return setting(&HostValueCache::dFormat, QStringLiteral("DFormat"), [](const Variant& v) { return v.toString(); });
}

QString secondsToUnitsText(const Variant& seconds)
{
    const auto ask = [&] { return lateGet(unitConverter(), QStringLiteral("Seconds2Units"), {seconds}).toString(); };
    HostValueCache* cache = openCache();
    // Only a value that converts as the call converts it has a key; the call raises the rest.
    if (!cache || !plainNumber(seconds) || !cache->conversionsHold())
        return ask();
    return keptConversion(cache->seconds, seconds.toDouble(), ask);
}

QString elapsedTimeText(double days, bool converted)
{
    const auto ask = [&] {
        std::vector<Variant> args{days};
        if (converted)
            args.push_back(true);
        return lateGet(unitConverter(), QStringLiteral("ElaspedTime2Unit"), std::move(args)).toString();
    };
    HostValueCache* cache = openCache();
    if (!cache || !cache->conversionsHold())
        return ask();
    return keptConversion(cache->elapsed[converted ? 1 : 0], days, ask);
}

} // namespace vxRecInfo

namespace vxRecInfo {

const QUuid& IFontSettings::iid()
{
    return HostClasses::FontSettingsIid;
}

} // namespace vxRecInfo

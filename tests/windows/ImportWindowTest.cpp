// SPDX-License-Identifier: MIT
// The Import window driven through RecordInfo with scripted modal windows.

#include "RecordWindowsFixture.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class ImportWindowTest : public RecordWindowsTest
{
protected:
    void SetUp() override
    {
        RecordWindowsTest::SetUp();
        writeSetting(u"TimeZoneService/TimeZones"_s, zones);
        writeSetting(u"TimeZoneService/SystemTimeZone"_s, u"Asia/Tokyo"_s);
        dataset(u"File one"_s, u"SN-F1"_s);
        dataset(u"File two"_s, u"SN-F2"_s);
    }
    HResult showImport()
    {
        SafeArray flags = SafeArray::fromValues(VarType::Boolean, {false, false});
        return record().ShowImport(&flags);
    }
    std::int16_t userZone()
    {
        std::int16_t v = -99;
        EXPECT_EQ(record().get_ImportUserSelectedTimeZone(&v), S_OK);
        return v;
    }
    bool fileSelected()
    {
        bool v = true;
        EXPECT_EQ(record().get_ImportFileSelected(&v), S_OK);
        return v;
    }
    // A zone's name from a service of its own, so the window's service keeps the zone it chose.
    static QString zoneName(std::int16_t zone, Date when)
    {
        const auto service = ClassRegistry::instance().createObject(HostClasses::TimeZoneServiceClsid.toString());
        latePut(service.get(), u"TZoneID"_s, zone);
        return lateGet(service.get(), u"TimeZoneName"_s, {when}).toString();
    }
    static QString startZone(const QString& report)
    {
        const QStringList rows = linesStartingWith(report, u"\tStart Time:\t"_s);
        return rows.size() == 1 ? rows[0] : QString();
    }
    const Date start = at(2024, 1, 15, 10);
    const QStringList zones{u"Europe/Berlin"_s, u"America/New_York"_s, u"Asia/Tokyo"_s, u"Australia/Sydney"_s};
};

TEST_F(ImportWindowTest, ListsZonesOneToFourPreselectsTheSystemZoneImportsTheChoiceAndCancelKeepsIt)
{
    const QString tokyo = zoneName(3, start), newYork = zoneName(2, start);
    ASSERT_NE(tokyo, newYork);
    then<frmRecImport>([&](frmRecImport& w) {
        ASSERT_EQ(w.cboTimeZone->count(), 4) << "TimeArray 0..4 lists four zones; element 0 is never listed";
        for (int e = 0; e < 4; ++e) {
            EXPECT_EQ(w.cboTimeZone->itemData(e).toInt(), e + 1) << "item data is the TimeArray index";
            EXPECT_TRUE(w.cboTimeZone->itemText(e).endsWith(zones[e])) << w.cboTimeZone->itemText(e);
        }
        EXPECT_EQ(w.cboTimeZone->currentIndex(), 2) << "the system's zone must be preselected";
        const auto showsItsStart = [&] {
            EXPECT_EQ(w.cboTimeZone->lineEdit()->cursorPosition(), 0) << "a long zone name must show its start";
            EXPECT_EQ(w.cboTimeZone->toolTip(), w.cboTimeZone->currentText()) << "the whole name is the tooltip";
        };
        showsItsStart();
        EXPECT_EQ(state().TimeZone, 3);
        EXPECT_TRUE(startZone(w.txtInfo().Text()).endsWith(u"  "_s + tokyo)) << startZone(w.txtInfo().Text());
        EXPECT_EQ(w.cboTrace->currentIndex(), 0);

        QTest::keyClick(w.cboTimeZone, Qt::Key_Up);
        EXPECT_EQ(state().TimeZone, 2) << "choosing a zone takes effect at once";
        showsItsStart();
        EXPECT_TRUE(startZone(w.txtInfo().Text()).endsWith(u"  "_s + newYork))
            << "the report must be rebuilt in the chosen zone: " << startZone(w.txtInfo().Text());
        EXPECT_TRUE(w.txtInfo().Text().contains(u"\tSN-F1\r\n"_s)) << "of the selected dataset";
        QTest::mouseClick(w.cmdImport, Qt::LeftButton);
    });
    EXPECT_EQ(showImport(), S_OK);
    EXPECT_TRUE(fileSelected());
    EXPECT_EQ(userZone(), 2) << "Import returns the chosen zone";
    EXPECT_TRUE(shown.empty()) << "the load must not fail";
    then<frmRecImport>([](frmRecImport& w) {
        EXPECT_EQ(w.cboTimeZone->currentIndex(), 2) << "each showing preselects the system's zone again";
        QTest::keyClick(w.cboTimeZone, Qt::Key_Down); // Sydney
        QTest::mouseClick(w.cmdCancel, Qt::LeftButton);
    });
    EXPECT_EQ(showImport(), S_OK);
    EXPECT_FALSE(fileSelected()) << "Cancel must not confirm the import";
    EXPECT_EQ(userZone(), 2) << "Cancel keeps the zone of the last confirmed import";
    std::int16_t zone = 0;
    ASSERT_EQ(record().get_TimeZone(&zone), S_OK);
    EXPECT_EQ(zone, 4) << "TimeZone keeps the last choice made in the window";
}

TEST_F(ImportWindowTest, TypedTextNamingNoZoneChangesNothingAndEnterDoesNotImport)
{
    then<frmRecImport>([this](frmRecImport& w) {
        const QString before = w.txtInfo().Text();
        w.cboTimeZone->lineEdit()->selectAll();
        QTest::keyClicks(w.cboTimeZone->lineEdit(), u"Nowhere/Zone"_s);
        expectEnterAndEscIgnored(w, w.cboTimeZone->lineEdit());
        EXPECT_EQ(state().TimeZone, 3) << "text that names no listed zone must not change TimeZone";
        EXPECT_EQ(w.txtInfo().Text(), before);
        EXPECT_TRUE(shown.empty()) << "typing must not fail";
        QTest::mouseClick(w.cmdImport, Qt::LeftButton);
    });
    EXPECT_EQ(showImport(), S_OK);
    EXPECT_EQ(userZone(), 3) << "the import keeps a listed zone";
}

// The default zone service, except that the system's zone is one that TimeArray does not list.
class UnlistedSystemZone final : public ComObject<IDispatch>
{
public:
    static constexpr std::int16_t Pointer = 9;
    const TypeInfo& GetTypeInfo() const override { return m_real->GetTypeInfo(); }
    HResult GetIDsOfNames(const QString& name, DispId* id) override { return m_real->GetIDsOfNames(name, id); }
    HResult Invoke(DispId id, InvokeKind kind, std::vector<Variant>& args, Variant* result, ErrorInfo* error) override
    {
        DispId system = DISPID_UNKNOWN;
        m_real->GetIDsOfNames(u"MySystemTZPointer"_s, &system);
        if (id == system) {
            *result = Pointer;
            return S_OK;
        }
        return m_real->Invoke(id, kind, args, result, error);
    }

private:
    ComPtr<IDispatch> m_real = createDefaultTimeZoneService().as<IDispatch>();
};

TEST_F(ImportWindowTest, UnlistedSystemZoneSelectsNoEntryButIsTheTimeZone)
{
    ClassRegistry::instance().registerClass(
        {HostClasses::TimeZoneServiceClsid, {}, {}, [] { return ComPtr<IUnknown>(makeObject<UnlistedSystemZone>()); }});
    then<frmRecImport>([](frmRecImport& w) {
        EXPECT_EQ(w.cboTimeZone->currentIndex(), -1) << "no listed zone matches the system's";
        EXPECT_EQ(w.cboTimeZone->currentText(), QString()) << "the box must be blank";
        EXPECT_EQ(state().TimeZone, UnlistedSystemZone::Pointer);
        QTest::mouseClick(w.cmdImport, Qt::LeftButton);
    });
    const HResult hr = showImport();
    registerDefaultHostClasses();
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(userZone(), UnlistedSystemZone::Pointer) << "the report and the import use the system's zone";
}

// Captions of a window's labels, buttons and check boxes wider than their controls.
QStringList clippedCaptions(const QWidget& window)
{
    QStringList clipped;
    const auto check = [&](const QWidget* control, QString text, int room) {
        text.replace(u"&&"_s, u"\x01"_s).remove(u'&').replace(u'\x01', u'&');
        const int needed = control->fontMetrics().horizontalAdvance(text);
        if (needed > room)
            clipped << u"%1.%2 \"%3\" needs %4 px, has %5"_s.arg(window.objectName(), control->objectName(), text)
                           .arg(needed).arg(room);
    };
    for (const QLabel* l : window.findChildren<QLabel*>())
        check(l, l->text(), l->contentsRect().width());
    for (const QPushButton* b : window.findChildren<QPushButton*>())
        check(b, b->text(), b->width() - 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b));
    for (const QCheckBox* c : window.findChildren<QCheckBox*>())
        check(c, c->text(),
              c->width() - c->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, c)
                  - c->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, c));
    return clipped;
}

// A window's controls that a screen reader would announce without a name.
QStringList unnamedControls(const QWidget& window)
{
    QStringList unnamed;
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        if (!control->objectName().isEmpty() && (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty()))
            unnamed << window.objectName() + u'.' + control->objectName();
    }
    return unnamed;
}

TEST_F(ImportWindowTest, EveryCaptionFitsAndEveryControlHasANameInEveryLanguage)
{
    userSettings(true);
    state().ClassicFileFlag = SafeArray::fromValues(VarType::Boolean, {false, false});
    QStringList clipped, unnamed, menus;
    for (const int offset : {0, 2000, 4000, 6000, 8000, 10000}) {
        restoreSetting(u"HostSettings/ResOffset"_s, offset);
        frmStatistics statistics;
        statistics.load();
        frmRecImport import;
        import.load();
        frmNote note;
        frmPrinterDlg printer;
        for (const QWidget* w : std::initializer_list<const QWidget*>{&statistics, &import, &note, &printer}) {
            clipped << clippedCaptions(*w);
            unnamed << unnamedControls(*w);
        }
        // The report's context menu speaks the window's language, in Qt's own words.
        QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(5, 5), statistics.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(statistics.txtInfoView->viewport(), &menuAsked);
        QStringList texts;
        for (QMenu* menu : statistics.txtInfoView->findChildren<QMenu*>()) {
            for (const QAction* action : menu->actions())
                texts << action->text();
            menu->close();
        }
        menus << texts.join(u" | "_s);
    }
    // Portuguese has Brazil's file only.
    const QStringList qtWords{u"&Copy | Select All"_s,       u"コピー(&C) | すべてを選択"_s,
                              u"复制(&C) | 全选"_s,             u"&Copiar | Seleccionar todo"_s,
                              u"Cop&ier | Tout sélectionner"_s, u"&Copiar | Selecionar tudo"_s};
    EXPECT_EQ(menus.join(u'\n').toStdString(), qtWords.join(u'\n').toStdString());
    EXPECT_TRUE(clipped.isEmpty()) << "captions cut off:\n" << clipped.join(u'\n');
    unnamed.removeDuplicates();
    EXPECT_TRUE(unnamed.isEmpty()) << "controls without an accessible name:\n" << unnamed.join(u'\n');
    EXPECT_TRUE(shown.empty()) << "no window may fail to load";
}

TEST_F(ImportWindowTest, LoadErrorIsShownAndTheWindowStillOpens)
{
    // A zone the service cannot make: reaching TimeZoneService fails during the load.
    writeSetting(u"TimeZoneService/TimeZones"_s, QStringList{u"Mars/Olympus"_s});
    restart();
    dataset(u"File one"_s, u"SN-F1"_s);
    then<frmRecImport>([this](frmRecImport& w) {
        ASSERT_EQ(shown.size(), 1u) << "the load error must be shown before the window opens";
        EXPECT_TRUE(shown[0].text.startsWith(u"RecImport form load error\r\n"_s)) << shown[0].text;
        EXPECT_GT(shown[0].text.size(), 27) << "the error's description follows the line break";
        EXPECT_EQ(w.cboTimeZone->count(), 0) << "the load stopped before the zones";
        QTest::mouseClick(w.cmdCancel, Qt::LeftButton);
    });
    SafeArray flags = SafeArray::fromValues(VarType::Boolean, {false});
    EXPECT_EQ(record().ShowImport(&flags), S_OK) << "the load's trap keeps the error from the host";
    EXPECT_FALSE(fileSelected());
}

} // namespace

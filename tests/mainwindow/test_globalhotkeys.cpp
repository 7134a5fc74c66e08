#include "app/appstate.h"
#include "mainwindow/globalhotkeys.h"
#include "platform/nullplatform.h"
#include "testenvironment.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <set>

namespace {

// Records what is asked of it; refuses the identifiers in `refused`.
class RecordingPlatform : public NullPlatform
{
public:
    bool registerHotKey(int iId, const HotKeyRecord &record) override
    {
        registered.append(iId);
        records.append(record);
        return refused.count(iId) == 0;
    }
    void unregisterHotKey(int iId) override { unregistered.append(iId); }

    void fire(int iId) { emit hotKeyEvents().signal_HotKey(iId); }

    QList<int> registered;
    QList<HotKeyRecord> records;
    QList<int> unregistered;
    std::set<int> refused;
};

HotKeyRecord record(int iVirtualKey, bool bEnabled = true)
{
    HotKeyRecord r;
    r.enabled = bEnabled;
    r.ctrl = true;
    r.alt = true;
    r.virtualKey = iVirtualKey;
    return r;
}

} // namespace

class TestGlobalHotKeys : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        // The tests below choose every record themselves.
        AppState::instance().hotKeys[5] = HotKeyRecord();
    }

    // Without it a user who cannot use a mouse could never reach Preferences.
    void focusToolbarIsTheOnlyHotKeyOnFromTheStart()
    {
        AppState::reset();
        RecordingPlatform platform;
        GlobalHotKeys hotKeys(platform);
        hotKeys.RegisterHotKeys();
        QCOMPARE(platform.registered, QList<int>({ int(GlobalHotKeys::FocusToolbar) }));
        const HotKeyRecord &focus = platform.records.at(0);
        QVERIFY(focus.ctrl && focus.alt && !focus.shift && !focus.win);
        QCOMPARE(focus.virtualKey, int('K'));
        hotKeys.UnregisterHotKeys();
    }

    void enabledRecordsAreRegisteredUnderRecordNumberTimesHundred()
    {
        AppState &s = AppState::instance();
        s.hotKeys[0] = record('A');
        s.hotKeys[1] = record('B', false);
        s.hotKeys[2] = record('C');
        s.hotKeys[3] = record('D', false);
        RecordingPlatform platform;
        {
            GlobalHotKeys hotKeys(platform);
            hotKeys.RegisterHotKeys();
            QCOMPARE(platform.registered, QList<int>({ 100, 300 }));
            QCOMPARE(platform.records, QList<HotKeyRecord>({ s.hotKeys[0], s.hotKeys[2] }));

            hotKeys.UnregisterHotKeys();
            QCOMPARE(platform.unregistered, QList<int>({ 100, 300 }));
            // Nothing is held any more: a second release asks nothing.
            hotKeys.UnregisterHotKeys();
            QCOMPARE(platform.unregistered.size(), 2);
            hotKeys.RegisterHotKeys();
        }
        // What is still held goes with the object.
        QCOMPARE(platform.unregistered, QList<int>({ 100, 300, 100, 300 }));
    }

    // Another program owns a combination: its presses are not ours, and
    // nothing arrives before registering or after releasing.
    void refusedCombinationIsSkippedAndNeverReleased()
    {
        AppState &s = AppState::instance();
        for (int i = 0; i < 4; ++i)
            s.hotKeys[i] = record('E' + i);
        RecordingPlatform platform;
        platform.refused = { 200 };
        GlobalHotKeys hotKeys(platform);
        QSignalSpy spy(&hotKeys, &GlobalHotKeys::signal_HotKey);
        platform.fire(300);
        hotKeys.RegisterHotKeys();
        QCOMPARE(platform.registered, QList<int>({ 100, 200, 300, 400 }));
        for (const int id : { 200, 300, 500 })
            platform.fire(id);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), int(GlobalHotKeys::ColorPicker));
        hotKeys.UnregisterHotKeys();
        QCOMPARE(platform.unregistered, QList<int>({ 100, 300, 400 }));
        platform.fire(300);
        QCOMPARE(spy.size(), 1);
    }

    // Releasing follows what was registered, not the records as they are
    // now: a record switched off meanwhile must not leave its grab behind.
    void releaseFollowsWhatWasRegistered()
    {
        AppState &s = AppState::instance();
        s.hotKeys[1] = record('F');
        RecordingPlatform platform;
        GlobalHotKeys hotKeys(platform);
        hotKeys.RegisterHotKeys();
        s.hotKeys[1].enabled = false;
        s.hotKeys[3] = record('G');
        hotKeys.UnregisterHotKeys();
        QCOMPARE(platform.unregistered, QList<int>({ 200 }));

        // Registering again starts from the records as they are now.
        hotKeys.RegisterHotKeys();
        s.hotKeys[3] = record('H');
        hotKeys.RegisterHotKeys();
        QCOMPARE(platform.unregistered, QList<int>({ 200, 400 }));
        QCOMPARE(platform.registered, QList<int>({ 200, 400, 400 }));
        QCOMPARE(platform.records.last().virtualKey, int('H'));
    }
};

QTEST_GUILESS_MAIN(TestGlobalHotKeys)
#include "test_globalhotkeys.moc"

#pragma once

#include <QObject>

#include <set>

class Platform;

// The program's six global hotkeys. RegisterHotKeys hands the enabled
// settings records to the platform under the identifiers 100 to 600 (record
// number × 100); a press of one arrives as signal_HotKey with its
// identifier. A combination the platform refuses is skipped without a word.
class GlobalHotKeys : public QObject
{
    Q_OBJECT
public:
    enum Id {
        NewBlankPage = 100,
        NewFullScreenCapture = 200,
        ColorPicker = 300,
        BackToLastPage = 400,
        LiveZoom = 500,
        FocusToolbar = 600,
    };

    // The platform must outlive this object.
    explicit GlobalHotKeys(Platform &platform, QObject *pParent = nullptr);
    // Releases whatever is still registered.
    ~GlobalHotKeys() override;

    // Registers the records as they are now, after releasing what an earlier
    // call registered.
    void RegisterHotKeys();
    // Releases exactly what RegisterHotKeys registered, even if a record has
    // been changed or switched off since.
    void UnregisterHotKeys();

Q_SIGNALS:
    void signal_HotKey(int iId);

private:
    void forward(int iId);

    Platform &platform;
    std::set<int> registered;
};

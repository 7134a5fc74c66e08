#pragma once

#include "app/appstate.h"
#include "platform/hotkeyrecord.h"
#include "virtualkeytable.h"
#include "widgets/maindialog.h"

#include <QKeyEvent>

#include <array>

class HotKeyWidget;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class DesktopShortcutHint;
class QLabel;
class PresenterPrefs;
class QPushButton;
class SpinBoxTime;

// The user-interface preferences. Most changes apply at once and outlive a
// cancelled dialog; the font, the tray icon, stylus support and the touch
// interface are written straight into the settings file and apply at the next
// start. Hotkeys are different: a global hotkey takes its keys from every
// other program, so the edits are kept here and become the hotkeys only when
// the dialog is accepted; Cancel leaves the hotkeys as they were. When the
// main window exists, the dialog switches its language, follows its language
// changes and sets the toolbar's opacity.
class PreferencesDlg : public MainDialog
{
    Q_OBJECT
public:
    explicit PreferencesDlg(QWidget *pParent = nullptr,
                            const QString &strKeyTable = VirtualKeyTable::defaultPath());

    // The edited hotkey i (0 to 5) and its editor.
    const HotKeyRecord &hotKey(int i) const { return edited[i]; }
    HotKeyWidget *hotKeyWidget(int i) const { return hotKeyEditors[i]; }

Q_SIGNALS:
    // The toolbar's new size step; it has to be laid out again.
    void signal_ChangeToolbarSize(int iSizeStep);
    void signal_ChangeToolbarOpacity(int iOpacity);
    // The high-contrast look was switched: what is shown is painted again.
    void signal_ChangeLook();

public Q_SLOTS:
    void slot_UpdateLang();
    void slot_ChangeUIFont(QString strFont);
    void slot_ChangeUISize(int iIndex);
    void slot_ChangeHighContrast(bool bOn);
    void slot_ChangeOpacity(QString strOpacity);
    void slot_ChangeDelay(int iDelay);
    void slot_ChangeShowTrayIcon(bool bShow);
    void slot_ChangeSupportPenAndTouch(bool bSupport);
    void slot_ChangeEnableTouchUI(bool bEnable);
    void slot_ChangeHotKey1(QKeyEvent *pEvent) { changeHotKey(0, pEvent); }
    void slot_ClearHotKey1() { clearHotKey(0); }
    void slot_ChangeHotKey2(QKeyEvent *pEvent) { changeHotKey(1, pEvent); }
    void slot_ClearHotKey2() { clearHotKey(1); }
    void slot_ChangeHotKey3(QKeyEvent *pEvent) { changeHotKey(2, pEvent); }
    void slot_ClearHotKey3() { clearHotKey(2); }
    void slot_ChangeHotKey4(QKeyEvent *pEvent) { changeHotKey(3, pEvent); }
    void slot_ClearHotKey4() { clearHotKey(3); }
    void slot_ChangeHotKey5(QKeyEvent *pEvent) { changeHotKey(4, pEvent); }
    void slot_ClearHotKey5() { clearHotKey(4); }
    void slot_ChangeHotKey6(QKeyEvent *pEvent) { changeHotKey(5, pEvent); }
    void slot_ClearHotKey6() { clearHotKey(5); }
    void slot_Default();
    void slot_Import();
    void slot_Export();

protected:
    // Accepted, the edited hotkeys become the program's.
    void done(int iResult) override;
    // The file dialogs; an empty answer is a cancel. Tests answer them
    // without showing a dialog.
    virtual QString askFileName(bool bSave, const QString &strTitle, const QString &strProposed);

private:
    void buildControls();
    void buildHotKeyEditors();
    void buildLowerControls();
    void buildLayout();
    void connectControls();
    void changeHotKey(int i, QKeyEvent *pEvent);
    void clearHotKey(int i) { setHotKey(i, HotKeyRecord()); }
    void setHotKey(int i, const HotKeyRecord &record);
    void askBeforeTaking(int i, const HotKeyRecord &record);
    void commitHotKeys();
    void showHotKey(int i);
    QString hotKeyText(const HotKeyRecord &record) const;
    // Writes a setting that applies at the next start; false, after telling
    // the user, when the file cannot be written.
    bool writeRestartSetting(const QString &strKey, const QString &strValue);
    bool writeRestartFlag(const QString &strKey, bool bValue, QCheckBox *pBox);
    void tell(const QString &strText, const QString &strInformative);
    bool importSettings(const QString &strPath);

    VirtualKeyTable keyTable;
    std::array<HotKeyRecord, AppState::HotKeyCount> edited;
    QString fontInFile;

    QLabel *languageLabel;
    QComboBox *languageBox;
    QLabel *fontLabel;
    QComboBox *fontBox;
    QLabel *sizeLabel;
    QComboBox *sizeBox;
    QCheckBox *highContrastBox;
    QLabel *opacityLabel;
    QComboBox *opacityBox;
    QLabel *delayLabel;
    SpinBoxTime *delayBox;
    QLabel *restartNotes[3];
    QCheckBox *trayIconBox;
    QCheckBox *penBox;
    QCheckBox *touchBox;
    QLabel *hotKeysLabel;
    QLabel *hotKeyLabels[AppState::HotKeyCount];
    HotKeyWidget *hotKeyEditors[AppState::HotKeyCount];
    QLabel *keyTableProblem;
    DesktopShortcutHint *shortcutHint;
    PresenterPrefs *presenter;
    QPushButton *defaultBtn;
    QAction *defaultAction;
    QAction *importAction;
    QAction *exportAction;
    QDialogButtonBox *buttonBox;
};

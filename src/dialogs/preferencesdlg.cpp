#include "preferencesdlg.h"

#include "app/appstate.h"
#include "app/ini.h"
#include "app/lang.h"
#include "app/languageswitch.h"
#include "app/settingsstore.h"
#include "desktopshortcuthint.h"
#include "hotkeylineedit.h"
#include "hotkeypress.h"
#include "hotkeywidget.h"
#include "presenterprefs.h"
#include "spinboxtime.h"
#include "widgets/filedialogguard.h"
#include "widgets/messageboxdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDebug>
#include <QDialogButtonBox>
#include <QDomDocument>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>

#include <algorithm>
#include <iterator>

namespace {

const char *const Fonts[] = { "Segoe UI", "Arial", "Microsoft JhengHei", "System Default" };
// Steps 3 and 4 show the whole toolbar at 150 % and 200 % of "Large".
const char *const Sizes[] = { "Small", "Medium", "Large", "Very Large (150%)", "Largest (200%)" };
constexpr int SizeCount = int(std::size(Sizes));
const char *const HotKeyNames[AppState::HotKeyCount] = {
    "New Blank Page",    "New FullScreen Capture", "Color Picker",
    "Back To Last Page", "Zoom Into Screen",       "Focus Toolbar",
};
const QString UserInterface = QStringLiteral("UserInterface");

QString translated(const char *strText)
{
    return Lang::tr("Preferences", QLatin1String(strText));
}

QString restartNote(const QString &strText)
{
    return QStringLiteral("<font color=#777 size=\"3\">[ %1 ]</font> %2")
        .arg(translated("Need Restart"), strText);
}

QString restartMenuText(const char *strText)
{
    return QStringLiteral("[ %1 ] %2").arg(translated("Need Restart"), translated(strText));
}

// The offered languages: display name and code, in file order.
QList<QPair<QString, QString>> languages()
{
    QList<QPair<QString, QString>> result;
    QFile file(QStringLiteral(":/Language/Language.xml"));
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text) || !document.setContent(&file))
        return result;
    const QDomElement root = document.documentElement();
    for (QDomElement e = root.firstChildElement(QStringLiteral("String")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("String")))
        result.append({ e.text(), e.attribute(QStringLiteral("name")) });
    return result;
}

// Settings that apply at the next start: what the file holds for the next
// start, or the running value while the file has none.
QString nextStartValue(const QString &strKey, const QString &strRunning)
{
    const QString value = INI::instance()->value(UserInterface, strKey, strRunning).trimmed();
    INI::release();
    return value.isEmpty() ? strRunning : value;
}

bool nextStartFlag(const QString &strKey, bool bRunning)
{
    return nextStartValue(strKey, QString::number(int(bRunning))).toInt() != 0;
}

QString modifierPrefix(const HotKeyRecord &record)
{
    QString text;
    if (record.ctrl)
        text += QStringLiteral("Ctrl+");
    if (record.shift)
        text += QStringLiteral("Shift+");
    if (record.alt)
        text += QStringLiteral("Alt+");
    if (record.win)
        text += QStringLiteral("Win+");
    return text;
}

// An imported file becomes the settings file at the next start, and a file
// without a language counts as damaged there; refuse what is not one.
bool looksLikeSettingsFile(const QString &strPath)
{
    QSettings settings(strPath, QSettings::IniFormat);
    return settings.status() == QSettings::NoError
        && !settings.value(UserInterface + QStringLiteral("/Language")).toString().isEmpty();
}

} // namespace

PreferencesDlg::PreferencesDlg(QWidget *pParent, const QString &strKeyTable)
    : MainDialog(pParent)
    , keyTable(strKeyTable)
{
    std::copy(std::begin(AppState::instance().hotKeys), std::end(AppState::instance().hotKeys),
              edited.begin());
    if (!keyTable.problem().isEmpty())
        qWarning().noquote() << keyTable.problem();
    buildControls();
    buildHotKeyEditors();
    buildLowerControls();
    buildLayout();
    slot_UpdateLang();
    connectControls();
    connect(&LanguageSwitch::instance(), &LanguageSwitch::changed, this,
            &PreferencesDlg::slot_UpdateLang);
}

void PreferencesDlg::buildControls()
{
    const AppState &s = AppState::instance();
    languageLabel = new QLabel(this);
    languageBox = new QComboBox(this);
    languageBox->setObjectName(QStringLiteral("languageBox"));
    for (const auto &[name, code] : languages())
        languageBox->addItem(name, code);
    languageBox->setCurrentIndex(languageBox->findData(s.language));

    fontLabel = new QLabel(this);
    fontBox = new QComboBox(this);
    fontBox->setObjectName(QStringLiteral("fontBox"));
    // The item data is the value kept in the file; only "System Default" is
    // shown translated (slot_UpdateLang).
    for (const char *font : Fonts)
        fontBox->addItem(QLatin1String(font), QLatin1String(font));
    fontInFile = nextStartValue(QStringLiteral("UIFont"), s.uiFont);
    if (fontBox->findData(fontInFile) < 0)
        fontBox->addItem(fontInFile, fontInFile);
    fontBox->setCurrentIndex(fontBox->findData(fontInFile));

    sizeLabel = new QLabel(this);
    sizeBox = new QComboBox(this);
    sizeBox->setObjectName(QStringLiteral("sizeBox"));
    for (int i = 0; i < SizeCount; ++i)
        sizeBox->addItem(QString());
    sizeBox->setCurrentIndex(qBound(0, s.toolWidgetUISize / 2, SizeCount - 1));
    highContrastBox = new QCheckBox(this);
    highContrastBox->setObjectName(QStringLiteral("highContrastBox"));
    highContrastBox->setChecked(s.highContrast);

    opacityLabel = new QLabel(this);
    opacityBox = new QComboBox(this);
    opacityBox->setObjectName(QStringLiteral("opacityBox"));
    for (int opacity = 10; opacity <= 100; opacity += 10)
        opacityBox->addItem(QString::number(opacity), opacity);
    // The file may hold any percentage; the box offers steps of ten.
    opacityBox->setCurrentIndex(
        opacityBox->findData(qBound(10, (s.toolWidgetOpacity + 5) / 10 * 10, 100)));

    delayLabel = new QLabel(this);
    delayBox = new SpinBoxTime(this);
    delayBox->setObjectName(QStringLiteral("delayBox"));
    delayBox->setRange(100, 5000);
    delayBox->setSingleStep(100);
    delayBox->setValue(s.captureDelay);

    for (QLabel *&note : restartNotes)
        note = new QLabel(this);
    trayIconBox = new QCheckBox(this);
    trayIconBox->setObjectName(QStringLiteral("trayIconBox"));
    trayIconBox->setChecked(nextStartFlag(QStringLiteral("ShowTrayIcon"), s.showTrayIcon));
    penBox = new QCheckBox(this);
    penBox->setObjectName(QStringLiteral("penBox"));
    penBox->setChecked(nextStartFlag(QStringLiteral("SupportPenAndTouch"), s.supportPenAndTouch));
    touchBox = new QCheckBox(this);
    touchBox->setObjectName(QStringLiteral("touchBox"));
    touchBox->setChecked(nextStartFlag(QStringLiteral("EnableTouchUI"), s.enableTouchUI));
}

// Made after the hotkey editors: Tab follows the order the controls are made in.
void PreferencesDlg::buildLowerControls()
{
    presenter = new PresenterPrefs(this);

    defaultBtn = new QPushButton(this);
    defaultBtn->setObjectName(QStringLiteral("defaultBtn"));
    auto *menu = new QMenu(defaultBtn);
    defaultAction = menu->addAction(QString(), this, &PreferencesDlg::slot_Default);
    importAction = menu->addAction(QString(), this, &PreferencesDlg::slot_Import);
    exportAction = menu->addAction(QString(), this, &PreferencesDlg::slot_Export);
    defaultBtn->setMenu(menu);
    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
}

void PreferencesDlg::buildHotKeyEditors()
{
    hotKeysLabel = new QLabel(this);
    keyTableProblem = new QLabel(this);
    keyTableProblem->setObjectName(QStringLiteral("keyTableProblem"));
    keyTableProblem->setWordWrap(true);
    keyTableProblem->setVisible(keyTable.isEmpty());
    shortcutHint = new DesktopShortcutHint(this);
    for (int i = 0; i < AppState::HotKeyCount; ++i) {
        hotKeyLabels[i] = new QLabel(this);
        hotKeyEditors[i] = new HotKeyWidget(this);
        hotKeyEditors[i]->setEnabled(!keyTable.isEmpty());
        showHotKey(i);
    }
}

void PreferencesDlg::buildLayout()
{
    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    const QList<QPair<QLabel *, QWidget *>> rows
        = { { languageLabel, languageBox },   { fontLabel, fontBox },
            { sizeLabel, sizeBox },           { nullptr, highContrastBox },
            { opacityLabel, opacityBox },     { delayLabel, delayBox },
            { restartNotes[0], trayIconBox }, { restartNotes[1], penBox },
            { restartNotes[2], touchBox },    { hotKeysLabel, keyTableProblem } };
    int row = 0;
    // A label's buddy is named by it for screen readers.
    for (const auto &[label, control] : rows) {
        if (label) {
            label->setBuddy(control);
            grid->addWidget(label, row, 0, Qt::AlignRight);
        }
        grid->addWidget(control, row++, 1);
    }
    for (int i = 0; i < AppState::HotKeyCount; ++i) {
        hotKeyLabels[i]->setBuddy(hotKeyEditors[i]);
        grid->addWidget(hotKeyLabels[i], row, 0, Qt::AlignRight);
        grid->addWidget(hotKeyEditors[i], row++, 1);
    }
    grid->addWidget(shortcutHint, row++, 1);
    grid->addWidget(presenter, row++, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(defaultBtn);
    buttons->addStretch();
    buttons->addWidget(buttonBox);
    grid->addLayout(buttons, row, 0, 1, 2);
    grid->setColumnMinimumWidth(1, AppState::instance().scaled(220));
}

void PreferencesDlg::connectControls()
{
    connect(languageBox, &QComboBox::currentIndexChanged, this,
            [this] { LanguageSwitch::instance().choose(languageBox->currentText()); });
    connect(fontBox, &QComboBox::currentIndexChanged, this,
            [this] { slot_ChangeUIFont(fontBox->currentData().toString()); });
    connect(sizeBox, &QComboBox::currentIndexChanged, this, &PreferencesDlg::slot_ChangeUISize);
    connect(highContrastBox, &QCheckBox::toggled, this, &PreferencesDlg::slot_ChangeHighContrast);
    connect(opacityBox, &QComboBox::currentTextChanged, this, &PreferencesDlg::slot_ChangeOpacity);
    connect(delayBox, &QSpinBox::valueChanged, this, &PreferencesDlg::slot_ChangeDelay);
    connect(trayIconBox, &QCheckBox::toggled, this, &PreferencesDlg::slot_ChangeShowTrayIcon);
    connect(penBox, &QCheckBox::toggled, this, &PreferencesDlg::slot_ChangeSupportPenAndTouch);
    connect(touchBox, &QCheckBox::toggled, this, &PreferencesDlg::slot_ChangeEnableTouchUI);
    void (PreferencesDlg::*changes[])(QKeyEvent *)
        = { &PreferencesDlg::slot_ChangeHotKey1, &PreferencesDlg::slot_ChangeHotKey2,
            &PreferencesDlg::slot_ChangeHotKey3, &PreferencesDlg::slot_ChangeHotKey4,
            &PreferencesDlg::slot_ChangeHotKey5, &PreferencesDlg::slot_ChangeHotKey6 };
    void (PreferencesDlg::*clears[])()
        = { &PreferencesDlg::slot_ClearHotKey1, &PreferencesDlg::slot_ClearHotKey2,
            &PreferencesDlg::slot_ClearHotKey3, &PreferencesDlg::slot_ClearHotKey4,
            &PreferencesDlg::slot_ClearHotKey5, &PreferencesDlg::slot_ClearHotKey6 };
    for (int i = 0; i < AppState::HotKeyCount; ++i) {
        connect(hotKeyEditors[i], &HotKeyWidget::signal_ChangeHotKey, this, changes[i]);
        connect(hotKeyEditors[i], &HotKeyWidget::signal_ClearHotKey, this, clears[i]);
    }
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void PreferencesDlg::slot_UpdateLang()
{
    setWindowTitle(translated("Preferences"));
    languageLabel->setText(translated("Language:"));
    fontLabel->setText(restartNote(translated("UI Font:")));
    fontBox->setItemText(fontBox->findData(QStringLiteral("System Default")),
                         translated("System Default"));
    sizeLabel->setText(translated("Size of Toolbar:"));
    for (int i = 0; i < SizeCount; ++i)
        sizeBox->setItemText(i, translated(Sizes[i]));
    highContrastBox->setText(translated("High Contrast"));
    opacityLabel->setText(translated("Opacity of Toolbar:"));
    delayLabel->setText(translated("Screenshot Delay:"));
    delayBox->setUnitText(translated("seconds"));
    for (QLabel *note : restartNotes)
        note->setText(restartNote(QString()));
    trayIconBox->setText(translated("Show System Tray Icon"));
    penBox->setText(translated("Enable Stylus Support (Wacom Device)"));
    touchBox->setText(translated("Enable TouchUI (IWB)"));
    hotKeysLabel->setText(translated("Global Hotkeys:"));
    keyTableProblem->setText(
        translated("Hotkeys cannot be changed: the key table is missing or damaged."));
    shortcutHint->slot_UpdateLang();
    for (int i = 0; i < AppState::HotKeyCount; ++i) {
        hotKeyLabels[i]->setText(Lang::tr("MainWindow", QLatin1String(HotKeyNames[i])));
        // Qt names a control by a label's text only when they are siblings.
        hotKeyEditors[i]->lineEdit()->setAccessibleName(hotKeyLabels[i]->text());
        hotKeyEditors[i]->lineEdit()->setPlaceholderText(translated("Type Hotkeys"));
    }
    defaultBtn->setText(translated("Default"));
    defaultAction->setText(restartMenuText("Default"));
    importAction->setText(restartMenuText("Import..."));
    exportAction->setText(translated("Export..."));
    buttonBox->button(QDialogButtonBox::Ok)->setText(translated("OK"));
    buttonBox->button(QDialogButtonBox::Cancel)->setText(translated("Cancel"));
    Lang::release();
    presenter->slot_UpdateLang();
}

void PreferencesDlg::slot_ChangeUIFont(QString strFont)
{
    if (strFont == fontInFile)
        return;
    if (writeRestartSetting(QStringLiteral("UIFont"), strFont)) {
        fontInFile = strFont;
        return;
    }
    const QSignalBlocker blocker(fontBox);
    fontBox->setCurrentIndex(fontBox->findData(fontInFile));
}

void PreferencesDlg::slot_ChangeUISize(int iIndex)
{
    if (iIndex < 0 || iIndex >= SizeCount)
        return;
    AppState::instance().toolWidgetUISize = iIndex * 2;
    Q_EMIT signal_ChangeToolbarSize(iIndex * 2);
}

void PreferencesDlg::slot_ChangeHighContrast(bool bOn)
{
    AppState::instance().highContrast = bOn;
    Q_EMIT signal_ChangeLook();
}

void PreferencesDlg::slot_ChangeOpacity(QString strOpacity)
{
    const int opacity = strOpacity.toInt();
    if (opacity < 10 || opacity > 100)
        return;
    AppState::instance().toolWidgetOpacity = opacity;
    Q_EMIT signal_ChangeToolbarOpacity(opacity);
}

void PreferencesDlg::slot_ChangeDelay(int iDelay)
{
    AppState::instance().captureDelay = iDelay;
}

void PreferencesDlg::slot_ChangeShowTrayIcon(bool bShow)
{
    writeRestartFlag(QStringLiteral("ShowTrayIcon"), bShow, trayIconBox);
}

void PreferencesDlg::slot_ChangeSupportPenAndTouch(bool bSupport)
{
    writeRestartFlag(QStringLiteral("SupportPenAndTouch"), bSupport, penBox);
}

void PreferencesDlg::slot_ChangeEnableTouchUI(bool bEnable)
{
    writeRestartFlag(QStringLiteral("EnableTouchUI"), bEnable, touchBox);
}

bool PreferencesDlg::writeRestartFlag(const QString &strKey, bool bValue, QCheckBox *pBox)
{
    if (writeRestartSetting(strKey, QString::number(int(bValue))))
        return true;
    // The box shows what the file holds.
    const QSignalBlocker blocker(pBox);
    pBox->setChecked(!bValue);
    return false;
}

bool PreferencesDlg::writeRestartSetting(const QString &strKey, const QString &strValue)
{
    if (SettingsStore::writeNow(strKey, strValue))
        return true;
    tell(QStringLiteral("The settings file cannot be written."), AppState::instance().iniPath);
    return false;
}

void PreferencesDlg::tell(const QString &strText, const QString &strInformative)
{
    MessageBoxDialog box(this, strText, strInformative, QMessageBox::Ok);
    box.exec();
}

// The editor hands every key press here; an event left ignored goes on to
// the dialog.
void PreferencesDlg::changeHotKey(int i, QKeyEvent *pEvent)
{
    const HotKeyPress press(*pEvent, keyTable);
    const HotKeyRecord &before = AppState::instance().hotKeys[i];
    switch (press.meaning()) {
    case HotKeyPress::Meaning::Nothing:
        break;
    case HotKeyPress::Meaning::ToDialog:
        pEvent->ignore();
        break;
    case HotKeyPress::Meaning::CancelEdit:
        // With nothing left to undo, Escape cancels the dialog.
        if (edited[i] == before)
            pEvent->ignore();
        else
            setHotKey(i, before);
        break;
    case HotKeyPress::Meaning::Clear:
        clearHotKey(i);
        break;
    case HotKeyPress::Meaning::Take:
        setHotKey(i, press.record());
        break;
    case HotKeyPress::Meaning::Ask:
        askBeforeTaking(i, press.record());
        break;
    }
}

void PreferencesDlg::setHotKey(int i, const HotKeyRecord &record)
{
    edited[i] = record;
    showHotKey(i);
}

// Answered in a continuation: the dialog keeps running while it asks.
void PreferencesDlg::askBeforeTaking(int i, const HotKeyRecord &record)
{
    const QString question
        = Lang::single("MessageBox",
                       QStringLiteral("As a global hotkey, %1 would no longer reach any other "
                                      "program."))
              .arg(hotKeyText(record));
    auto *box = new MessageBoxDialog(this, question, QStringLiteral("Use it anyway?"),
                                     QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::finished, this, [this, box, i, record] {
        if (box->standardButton(box->clickedButton()) == QMessageBox::Ok)
            setHotKey(i, record);
    });
    box->open();
}

void PreferencesDlg::done(int iResult)
{
    if (iResult == QDialog::Accepted)
        commitHotKeys();
    MainDialog::done(iResult);
}

void PreferencesDlg::commitHotKeys()
{
    std::copy(edited.begin(), edited.end(), std::begin(AppState::instance().hotKeys));
}

void PreferencesDlg::showHotKey(int i)
{
    hotKeyEditors[i]->lineEdit()->setText(hotKeyText(edited[i]));
}

QString PreferencesDlg::hotKeyText(const HotKeyRecord &record) const
{
    QString text = modifierPrefix(record);
    if (record.enabled) {
        // A code the table lacks still shows, so that nothing looks unset.
        const QString key = keyTable.text(record.virtualKey);
        text += key.isEmpty()
            ? QStringLiteral("0x%1").arg(record.virtualKey, 2, 16, QLatin1Char('0'))
            : key;
    }
    return text;
}

void PreferencesDlg::slot_Default()
{
    const AppState &d = AppState::defaults();
    AppState &s = AppState::instance();
    const int language = languageBox->findData(d.language);
    if (language >= 0)
        languageBox->setCurrentIndex(language);
    {
        const QSignalBlocker blockers[]
            = { QSignalBlocker(sizeBox), QSignalBlocker(opacityBox), QSignalBlocker(delayBox),
                QSignalBlocker(highContrastBox) };
        sizeBox->setCurrentIndex(0);
        highContrastBox->setChecked(d.highContrast);
        opacityBox->setCurrentIndex(opacityBox->findData(100));
        delayBox->setValue(d.captureDelay);
    }
    slot_ChangeUISize(0);
    slot_ChangeHighContrast(d.highContrast);
    slot_ChangeOpacity(QStringLiteral("100"));
    slot_ChangeDelay(d.captureDelay);
    fontBox->setCurrentIndex(fontBox->findData(d.uiFont));
    trayIconBox->setChecked(true);
    penBox->setChecked(false);
    touchBox->setChecked(false);
    s.alertTrayIcon = true;
    s.rgb = AppState::defaultRgb();
    s.rgb2 = AppState::defaultRgb2();
    for (int i = 0; i < AppState::HotKeyCount; ++i)
        setHotKey(i, AppState::defaultHotKey(i));
    presenter->restoreDefaults();
    accept();
}

QString PreferencesDlg::askFileName(bool bSave, const QString &strTitle, const QString &strProposed)
{
    const QString filter = Lang::single("Preferences", QStringLiteral("Ini Files (*.ini)"));
    return bSave ? QFileDialog::getSaveFileName(this, strTitle, strProposed, filter)
                 : QFileDialog::getOpenFileName(this, strTitle, strProposed, filter);
}

void PreferencesDlg::slot_Import()
{
    const QString path = FileDialogGuard::around([this] {
        return askFileName(false, Lang::tr("MessageBox", QStringLiteral("Import")),
                           AppState::instance().homePath);
    });
    Lang::release();
    if (!path.isEmpty())
        importSettings(path);
    accept();
}

bool PreferencesDlg::importSettings(const QString &strPath)
{
    if (!looksLikeSettingsFile(strPath)) {
        tell(QStringLiteral("The file is not a settings file."), strPath);
        return false;
    }
    if (!SettingsStore::importFrom(strPath)) {
        tell(QStringLiteral("The settings cannot be imported."), strPath);
        return false;
    }
    return true;
}

void PreferencesDlg::slot_Export()
{
    const QString proposed
        = QStringLiteral("%1/Tavelmark_%2.ini")
              .arg(AppState::instance().homePath,
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmm")));
    const QString path = FileDialogGuard::around([&] {
        return askFileName(true, Lang::tr("MessageBox", QStringLiteral("Export")), proposed);
    });
    Lang::release();
    if (!path.isEmpty()) {
        // The export closes the dialog as accepted: it holds the edited hotkeys.
        commitHotKeys();
        if (!SettingsStore::exportTo(path))
            tell(QStringLiteral("The settings cannot be exported."), path);
    }
    accept();
}

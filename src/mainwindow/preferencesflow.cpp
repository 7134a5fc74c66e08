#include "preferencesflow.h"

#include "app/appstate.h"
#include "dialogs/preferencesdlg.h"
#include "globalhotkeys.h"
#include "mainwindow.h"
#include "menubar.h"
#include "platform/platform.h"
#include "toolbar/optionpopups.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn_option.h"

#include <QAction>

PreferencesFlow::PreferencesFlow(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
    , hotKeys(new GlobalHotKeys(Platform::instance(), this))
{
    connect(hotKeys, &GlobalHotKeys::signal_HotKey, this, &PreferencesFlow::onHotKey);
    hotKeys->RegisterHotKeys();
}

void PreferencesFlow::showPreferences()
{
    ToolWidget *toolbar = window->toolbar();
    hotKeys->UnregisterHotKeys();
    window->optionPopups()->deleteFloating();
    {
        PreferencesDlg preferences(window);
        connect(&preferences, &PreferencesDlg::signal_ChangeToolbarSize, toolbar,
                &ToolWidget::slot_UpdateSize);
        connect(&preferences, &PreferencesDlg::signal_ChangeLook, toolbar,
                &ToolWidget::slot_UpdateLook);
        connect(&preferences, &PreferencesDlg::signal_ChangeToolbarOpacity, toolbar,
                [toolbar](int iOpacity) { toolbar->setWindowOpacity(iOpacity / 100.0); });
        preferences.exec();
    }
    hotKeys->RegisterHotKeys();
    // The panel was closed only while the toolbar could change size.
    if (AppState::instance().showFloatingOptionWidget)
        window->optionPopups()->openDrawToolOptions(1, false, toolbar->optionButton());
}

void PreferencesFlow::releaseHotKeys()
{
    hotKeys->UnregisterHotKeys();
}

void PreferencesFlow::onHotKey(int iId)
{
    MenuBar *menu = window->menu();
    switch (iId) {
    case GlobalHotKeys::NewBlankPage:
        menu->actionNew->activate(QAction::Trigger);
        break;
    case GlobalHotKeys::NewFullScreenCapture:
        menu->actionNewFullScreenCapture->activate(QAction::Trigger);
        break;
    case GlobalHotKeys::ColorPicker:
        window->slot_ColorPicker_HotKey();
        break;
    case GlobalHotKeys::BackToLastPage:
        menu->actionBackToLastPage->activate(QAction::Trigger);
        break;
    case GlobalHotKeys::LiveZoom:
        menu->actionLiveZoom->activate(QAction::Trigger);
        break;
    case GlobalHotKeys::FocusToolbar:
        menu->actionFocusToolbar->activate(QAction::Trigger);
        break;
    default:
        break;
    }
}

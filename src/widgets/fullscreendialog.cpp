#include "fullscreendialog.h"

#include "app/appstate.h"

#include <QGuiApplication>
#include <QScreen>

FullScreenDialog::FullScreenDialog(QWidget *pParent)
    : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setGeometry(currentScreen()->geometry());
}

QScreen *FullScreenDialog::currentScreen()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const int index = AppState::instance().screenIndex;
    return (index >= 0 && index < screens.size()) ? screens.at(index)
                                                  : QGuiApplication::primaryScreen();
}

bool FullScreenDialog::event(QEvent *pEvent)
{
    return QWidget::event(pEvent);
}

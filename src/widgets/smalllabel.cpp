#include "smalllabel.h"

#include "app/appstate.h"

#include <QApplication>

SmallLabel::SmallLabel(const QString &strText, QWidget *pParent)
    : QLabel(strText, pParent)
{
    const AppState &state = AppState::instance();
    QFont font = QApplication::font();
    font.setPointSizeF(state.enableTouchUI ? 8.0 / state.scaleFactor2 : 8.0);
    setFont(font);
}

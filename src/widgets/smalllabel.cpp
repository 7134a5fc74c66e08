#include "smalllabel.h"

#include "app/appstate.h"

#include <QApplication>

namespace {

// The desktop font size the panels' small print was laid out beside.
constexpr double UsualPoints = 9.0;

} // namespace

SmallLabel::SmallLabel(const QString &strText, QWidget *pParent)
    : QLabel(strText, pParent)
{
    const AppState &state = AppState::instance();
    setFont(smallFont(state.enableTouchUI ? 8.0 / state.scaleFactor2 : 8.0));
}

QFont SmallLabel::smallFont(double points)
{
    QFont font = QApplication::font();
    const double desktop = font.pointSizeF();
    font.setPointSizeF(desktop > 0 ? points * desktop / UsualPoints : points);
    return font;
}

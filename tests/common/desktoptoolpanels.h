#pragma once

#include "desktoptools/capturedlg.h"
#include "desktoptools/captureoptionwidget.h"
#include "desktoptools/capturewin.h"
#include "realprogram.h"
#include "widgets/popupwidgetbtn.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

// Where the real program's desktop-tool panels keep their buttons, in
// logical pixels, laid out by the same code the program runs; and what a
// capture left on the clipboard.
namespace DesktopToolPanels {

inline QPoint buttonCentre(QWidget *panel, const QString &strTip)
{
    for (PopupWidgetBtn *button : panel->findChildren<PopupWidgetBtn *>()) {
        if (button->toolTip() == strTip)
            return button->mapTo(panel, button->rect().center());
    }
    return QPoint();
}

// The region capture's option panel: its width and its clipboard output.
struct CapturePanel
{
    int width = 0;
    QPoint clipboard;
};

inline CapturePanel capturePanel()
{
    QPixmap still(400, 300);
    CaptureDlg dialog(CaptureDlg::Rectangle, &still, nullptr);
    dialog.setAttribute(Qt::WA_DontShowOnScreen);
    dialog.show();
    CaptureOptionWidget *panel = dialog.optionWidget();
    panel->show();
    return { panel->width(), buttonCentre(panel, QStringLiteral("Capture To Clipboard")) };
}

// The window capture's panel: its size, the camera icon and the clipboard
// output.
struct WindowPanel
{
    QSize size;
    QPoint camera;
    QPoint clipboard;
};

inline WindowPanel windowPanel()
{
    CaptureWin panel(nullptr);
    panel.setAttribute(Qt::WA_DontShowOnScreen);
    panel.show();
    const QLabel *camera = panel.cameraLabel();
    return { panel.size(), camera->mapTo(&panel, camera->rect().center()),
             buttonCentre(&panel, QStringLiteral("Capture To Clipboard")) };
}

inline QImage clipboardImage()
{
    return QImage::fromData(
               RealProgram::tool(QStringLiteral("xclip"),
                                 { QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                   QStringLiteral("-t"), QStringLiteral("image/png"),
                                   QStringLiteral("-o") }),
               "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

inline QString clipboardText()
{
    return QString::fromUtf8(RealProgram::tool(
        QStringLiteral("xclip"),
        { QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o") }));
}

// A frameless window of the test's own showing picture, placed at the
// given device pixels of a desktop at scale 1 (the test's own).
inline std::unique_ptr<QLabel> pictureWindow(const QImage &picture, const QPoint &topLeft)
{
    auto window = std::make_unique<QLabel>();
    window->setWindowFlags(Qt::FramelessWindowHint);
    window->setPixmap(QPixmap::fromImage(picture));
    window->setGeometry(QRect(topLeft, picture.size()));
    window->show();
    return window;
}

} // namespace DesktopToolPanels

#include "lessonslide.h"

#include <QPainter>
#include <QProcess>

namespace {

// The title, then the four points.
QStringList texts(const QString &strLanguage)
{
    if (strLanguage == QLatin1String("zh_CN"))
        return { QStringLiteral("水循环"), QStringLiteral("1. 蒸发：太阳使海水变暖"),
                 QStringLiteral("2. 凝结：水汽形成云"), QStringLiteral("3. 降水：雨雪落下"),
                 QStringLiteral("4. 汇集：河流流向大海") };
    if (strLanguage == QLatin1String("zh_TW"))
        return { QStringLiteral("水循環"), QStringLiteral("1. 蒸發：太陽使海水變暖"),
                 QStringLiteral("2. 凝結：水氣形成雲"), QStringLiteral("3. 降水：雨雪落下"),
                 QStringLiteral("4. 匯集：河流流向大海") };
    return { QStringLiteral("The water cycle"),
             QStringLiteral("1. Evaporation: the sun warms the sea"),
             QStringLiteral("2. Condensation: vapour forms clouds"),
             QStringLiteral("3. Precipitation: rain and snow fall"),
             QStringLiteral("4. Collection: rivers flow to the sea") };
}

} // namespace

QImage LessonSlide::picture(const QSize &size, const QString &strLanguage)
{
    const QStringList lines = texts(strLanguage);
    // Chinese characters come from the second family.
    const QStringList families
        = { QStringLiteral("Liberation Sans"), QStringLiteral("WenQuanYi Micro Hei") };
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    p.fillRect(image.rect(), QColor(246, 248, 252));
    p.fillRect(QRectF(0, 0, w, h * 0.16), QColor(32, 84, 150));
    QFont title;
    title.setFamilies(families);
    title.setPixelSize(int(h * 0.065));
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(w * 0.05, 0, w * 0.9, h * 0.16), Qt::AlignVCenter, lines.first());

    QFont body;
    body.setFamilies(families);
    body.setPixelSize(int(h * 0.038));
    p.setFont(body);
    p.setPen(QColor(40, 40, 40));
    for (int i = 1; i < lines.size(); ++i)
        p.drawText(QPointF(w * 0.06, h * (0.28 + 0.08 * (i - 1))), lines.at(i));

    // Sea, sun and a cloud on the right.
    const QRectF scene(w * 0.56, h * 0.22, w * 0.38, h * 0.66);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 140, 210));
    p.drawRect(QRectF(scene.left(), scene.bottom() - scene.height() * 0.25, scene.width(),
                      scene.height() * 0.25));
    p.setBrush(QColor(255, 196, 40));
    p.drawEllipse(QPointF(scene.left() + scene.width() * 0.2, scene.top() + scene.height() * 0.2),
                  scene.width() * 0.09, scene.width() * 0.09);
    p.setBrush(QColor(200, 210, 225));
    const QPointF cloud(scene.left() + scene.width() * 0.68, scene.top() + scene.height() * 0.2);
    for (const QPointF &offset : { QPointF(-0.08, 0.02), QPointF(0, -0.02), QPointF(0.08, 0.02) })
        p.drawEllipse(cloud + QPointF(offset.x() * scene.width(), offset.y() * scene.width()),
                      scene.width() * 0.09, scene.width() * 0.07);
    p.end();
    return image;
}

bool LessonSlide::showOnDesktop(const QSize &size, const QString &strLanguage,
                                const QString &strScratchFile)
{
    if (!picture(size, strLanguage).save(strScratchFile, "PNG"))
        return false;
    QProcess display;
    display.start(QStringLiteral("display"),
                  { QStringLiteral("-window"), QStringLiteral("root"), strScratchFile });
    // display leaves with status 1 once the root's background is set.
    return display.waitForFinished(30000) && display.exitStatus() == QProcess::NormalExit;
}

#pragma once

#include <QImage>
#include <QString>

// A lesson slide standing in for the presentation a teacher draws over, so
// that the pictures of the guide show the program at work. It is put on the
// desktop's background, beneath every window.
class LessonSlide
{
public:
    static QImage picture(const QSize &size);
    // Shows the picture as the root window's background (ImageMagick's
    // display); false when that failed.
    static bool showOnDesktop(const QSize &size, const QString &strScratchFile);
};

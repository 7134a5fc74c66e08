#pragma once

#include <QImage>
#include <QString>

// A lesson slide standing in for the presentation a teacher draws over, so
// that the pictures of the guide show the program at work. It is put on the
// desktop's background, beneath every window.
class LessonSlide
{
public:
    // The slide's texts are in the language of the program's interface.
    static QImage picture(const QSize &size, const QString &strLanguage);
    // Shows the picture as the root window's background (ImageMagick's
    // display); false when that failed.
    static bool showOnDesktop(const QSize &size, const QString &strLanguage,
                              const QString &strScratchFile);
};

// Builds the user guide of one language into a PDF document.
// usage: guidebook <language> <guide folder> <language tables folder> <output.pdf>
#include "guidebook.h"

#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: guidebook <language> <guide folder> <language tables folder> "
                     "<output.pdf>\n");
        return 2;
    }
    GuideBook book;
    QString error;
    if (!book.load(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[1]),
                   QString::fromLocal8Bit(argv[3]), error)) {
        std::fprintf(stderr, "guidebook: %s\n", qPrintable(error));
        return 1;
    }
    const QByteArray pdf = book.pdf();
    QSaveFile out(QString::fromLocal8Bit(argv[4]));
    if (pdf.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(pdf) != pdf.size()
        || !out.commit()) {
        std::fprintf(stderr, "guidebook: %s: %s\n", argv[4], qPrintable(out.errorString()));
        return 1;
    }
    std::printf("%s: %d pages\n", argv[4], book.pageCount());
    return 0;
}

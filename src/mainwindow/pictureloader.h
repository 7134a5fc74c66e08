#pragma once

#include "picturecheck.h"

#include <QImage>
#include <QObject>
#include <QStringList>
#include <QThreadPool>

// Checks picture files, and decodes them when asked, one after another on a
// worker thread; each result comes back on the GUI thread in file order. A
// file is read only when asked for, so that a caller who asks for the next
// as each result arrives keeps at most two decoded pictures alive.
class PictureLoader : public QObject
{
    Q_OBJECT
public:
    // Without bDecode the files are only checked.
    PictureLoader(QStringList files, bool bDecode, QObject *pParent = nullptr);
    // Waits for the file being read; its result is dropped.
    ~PictureLoader() override;

    int count() const { return int(files.size()); }
    // False once every file was asked for.
    bool readNext();
    // The picture of the file just told, for the taking while the signal is
    // handled: null when the file is refused or was only checked.
    QImage takePicture() { return std::move(picture); }

Q_SIGNALS:
    void signal_Read(int iIndex, const PictureCheck::Refusal &why);

private:
    const QStringList files;
    const bool decode;
    int next = 0;
    QImage picture;
    QThreadPool worker;
};

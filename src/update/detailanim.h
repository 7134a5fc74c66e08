#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// A small square that spins while the update description loads and then
// becomes the arrow that opens and closes the release notes.
class DetailAnim : public QWidget
{
    Q_OBJECT
public:
    enum State { Loading = 0, NotesOpen = 1, NotesClosed = 2 };

    explicit DetailAnim(QWidget *pParent);

    void start();
    void stop();
    int state() const { return current; }

Q_SIGNALS:
    // True when the notes are to be shown, false when hidden.
    void signal_Click(bool show);

protected:
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void paintEvent(QPaintEvent *pEvent) override;

private:
    void showFrame();

    int current = Loading;
    QLabel *spinner;
    QTimer *frameTimer;
    QPixmap frames;
    int frame = 0;
};

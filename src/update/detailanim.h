#pragma once

#include <QAbstractButton>

class QLabel;
class QTimer;

// A small square that spins while the update description loads and then
// becomes the arrow that opens and closes the release notes: a checkable
// button (checked while the notes show), so Tab reaches it, Space toggles
// it and a screen reader hears a named toggle.
class DetailAnim : public QAbstractButton
{
    Q_OBJECT
public:
    enum State { Loading = 0, NotesOpen = 1, NotesClosed = 2 };

    explicit DetailAnim(QWidget *pParent);

    void start();
    void stop();
    State state() const;

Q_SIGNALS:
    // True when the notes are to be shown, false when hidden.
    void signal_Click(bool show);

protected:
    bool hitButton(const QPoint &pos) const override;
    void paintEvent(QPaintEvent *pEvent) override;

private:
    void showFrame();

    QLabel *spinner;
    QTimer *frameTimer;
    QPixmap frames;
    int frame = 0;
};

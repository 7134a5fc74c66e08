#pragma once

#include <QPoint>
#include <QWidget>

class MyTextEdit;
class QTextDocument;

// The in-place text editor on the canvas: a text area with a 12 px margin
// around it, which the user drags to move the editor. It grows with its text.
class TextEditWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int margin = 12;

    TextEditWidget(const QFont &font, const QString &strText, QWidget *pParent);

    // Both apply to the text typed from now on.
    void setAlignment(int alignment);
    void setFontPointSize(int size);
    void setTextColor(const QColor &colour);
    void focusText();
    // Null while there is no text.
    QTextDocument *document() const;
    MyTextEdit *textEdit() const { return edit; }

protected:
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void paintEvent(QPaintEvent *pEvent) override;

private:
    void fitText();

    MyTextEdit *edit;
    QPoint grabOffset; // where the margin was grabbed, in editor coordinates
};

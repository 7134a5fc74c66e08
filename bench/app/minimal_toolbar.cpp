// The baseline of the start-up benchmark: the least a Qt Widgets program
// does to show a frameless, always-on-top strip of a dozen buttons.
#include <QApplication>
#include <QGridLayout>
#include <QToolButton>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("Minimal Toolbar"));
    auto *grid = new QGridLayout(&window);
    for (int i = 0; i < 12; ++i) {
        auto *button = new QToolButton;
        button->setText(QString::number(i + 1));
        button->setFixedSize(48, 48);
        grid->addWidget(button, i / 2, i % 2);
    }
    window.show();
    return app.exec();
}

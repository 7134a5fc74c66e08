#pragma once

#include <QWidget>

class DialWidget;
class ToolWidgetBtn_Option;

// The current tool's width dial above its "Draw Tool Options" button.
class ToolOptionWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ToolOptionWidget(QWidget *pParent);

    DialWidget *dial() const { return dialWidget; }
    ToolWidgetBtn_Option *optionButton() const { return button; }

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    DialWidget *dialWidget;
    ToolWidgetBtn_Option *button;
};

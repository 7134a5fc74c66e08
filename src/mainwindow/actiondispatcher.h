#pragma once

#include <QHash>
#include <QObject>

#include <functional>

class MainWindow;
struct InstanceRequest;

// Performs what a start of the program asked for (on its own command line or
// through the single-instance socket): files first, then the named actions,
// each through the command the menus and the toolbar use.
class ActionDispatcher : public QObject
{
    Q_OBJECT
public:
    explicit ActionDispatcher(MainWindow *pWindow);

    // False when the name is not an action.
    bool perform(const QString &strName);
    // The names this dispatcher knows.
    QStringList names() const { return table.keys(); }

public Q_SLOTS:
    // An empty request brings the program back, as a second start always did.
    void slot_Handle(const InstanceRequest &request);

private:
    void hide();
    void show();

    MainWindow *window;
    QHash<QString, std::function<void()>> table;
};

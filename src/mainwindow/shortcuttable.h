#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// The program's keyboard shortcuts, in one place: the menu entries carry
// them, the toolbar window answers the same keys in desktop mode, and the
// user guide prints its keys from this table, so none of them can disagree.
class ShortcutTable
{
public:
    struct Row
    {
        // English title of the menu and English text of its entry, as the
        // language tables know them (context "MainWindow").
        const char *menu;
        const char *entry;
        // Portable key sequences separated by "; "; the menu shows the first.
        const char *keys;

        QList<QKeySequence> sequences() const;
    };

    // In the order of the menus.
    static const QList<Row> &rows();
    // The keys of the entry with this English text; none when it has none.
    static QList<QKeySequence> keysOf(const QString &strEntry);
};

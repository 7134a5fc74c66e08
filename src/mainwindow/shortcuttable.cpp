#include "shortcuttable.h"

QList<QKeySequence> ShortcutTable::Row::sequences() const
{
    return QKeySequence::listFromString(QLatin1String(keys), QKeySequence::PortableText);
}

const QList<ShortcutTable::Row> &ShortcutTable::rows()
{
    static const QList<Row> table = {
        { "File", "New Blank Page", "Ctrl+N" },
        { "File", "New FullScreen Capture", "Ctrl+Shift+N" },
        { "File", "Open...", "Ctrl+O" },
        { "File", "Save...", "Ctrl+S" },
        { "File", "Open Document...", "Ctrl+Shift+O" },
        { "File", "Save Document", "Ctrl+Shift+S" },
        { "File", "Close Current Page", "Ctrl+W" },
        { "File", "Close All Pages", "Ctrl+Shift+W" },
        { "File", "Exit", "Ctrl+Q" },
        { "Edit", "Undo", "Ctrl+Z" },
        { "Edit", "Redo", "Ctrl+Y" },
        { "Edit", "Clear Page", "Ctrl+L" },
        // Ctrl+I is what most programs use to insert a picture.
        { "Edit", "Insert Image to Current Page...", "Ctrl+Shift+0; Ctrl+I" },
        { "Edit", "Insert Text to Current Page...", "Ctrl+Shift+1" },
        { "Edit", "Insert Number to Current Page...", "Ctrl+Shift+2" },
        { "View", "Previous Page", "PgUp" },
        { "View", "Next Page", "PgDown" },
        // Ctrl+= spares Shift where + is a shifted key; Ctrl+0 and Ctrl+1
        // choose tools, hence Alt.
        { "View", "Zoom In", "Ctrl++; Ctrl+=" },
        { "View", "Zoom Out", "Ctrl+-" },
        { "View", "Fit Page", "Ctrl+Alt+0" },
        { "View", "Actual Size", "Ctrl+Alt+1" },
        { "View", "Floating Draw Tool Options", "Ctrl+D" },
        { "Tools", "Mouse", "Ctrl+0" },
        { "Tools", "Select", "Ctrl+1" },
        { "Tools", "Pen", "Ctrl+2" },
        { "Tools", "Highlighter", "Ctrl+3" },
        { "Tools", "Eraser", "Ctrl+4" },
        { "Tools", "Line", "Ctrl+5" },
        { "Tools", "Shape", "Ctrl+6" },
        { "Tools", "Text", "Ctrl+7" },
        { "Tools", "Laser Pointer", "Ctrl+8" },
        { "Tools", "Spotlight", "Ctrl+9" },
        { "Tools", "Fading Ink", "Ctrl+Shift+F" },
        { "Tools", "Screen Capture (Rectangle)", "Alt+0" },
        { "Tools", "Screen Capture (Freeform Shape)", "Alt+1" },
        { "Tools", "Screen Capture (Window)", "Alt+2" },
        { "Tools", "Screen Capture (Previous Area)", "Alt+3" },
        { "Tools", "Color Picker", "Alt+4" },
        { "Tools", "Magnifier", "Alt+5" },
        { "Tools", "Ruler", "Alt+6" },
        { "Tools", "Protractor", "Alt+7" },
    };
    return table;
}

QList<QKeySequence> ShortcutTable::keysOf(const QString &strEntry)
{
    for (const Row &row : rows()) {
        if (strEntry == QLatin1String(row.entry))
            return row.sequences();
    }
    return {};
}

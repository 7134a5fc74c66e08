#pragma once

#include "widgets/maindialog.h"

class DocumentCommands;
class DocumentFiles;
class QButtonGroup;

// Asks for the format, then for the file, and saves every page: first as the
// editable document, else exported through the document commands. Always
// closes as accepted; written() tells whether a file was really made.
class ExportDlg : public MainDialog
{
    Q_OBJECT
public:
    // The editable document's choice; the picture formats count from 0.
    static constexpr int DocumentFormat = 5;

    ExportDlg(DocumentCommands *pCommands, DocumentFiles *pFiles, QWidget *pParent);

    bool written() const { return wasWritten; }

public Q_SLOTS:
    void slot_ExportAs(int iFormat);

private:
    bool exportFormat(int iFormat, const QString &strFile);

    DocumentCommands *commands;
    DocumentFiles *files;
    QButtonGroup *group;
    bool wasWritten = false;
};

#pragma once

#include "widgets/maindialog.h"

class DocumentCommands;
class QButtonGroup;

// Asks for the export format, then for the file, and exports every page
// through the document commands. Always closes as accepted; written() tells
// whether a file was really made.
class ExportDlg : public MainDialog
{
    Q_OBJECT
public:
    ExportDlg(DocumentCommands *pCommands, QWidget *pParent);

    bool written() const { return wasWritten; }

public Q_SLOTS:
    void slot_ExportAs(int iFormat);

private:
    bool exportFormat(int iFormat, const QString &strFile);

    DocumentCommands *commands;
    QButtonGroup *group;
    bool wasWritten = false;
};

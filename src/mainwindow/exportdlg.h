#pragma once

#include "widgets/maindialog.h"

#include <functional>

class DocumentCommands;
class DocumentFiles;
class QButtonGroup;

// Asks for the format, then for the file, and saves every page: first as the
// editable document, else exported through the document commands. A chosen
// format closes it as accepted, and `done` is told whether a file was really
// made, once the export ends.
class ExportDlg : public MainDialog
{
    Q_OBJECT
public:
    // The editable document's choice; the picture formats count from 0.
    static constexpr int DocumentFormat = 5;

    ExportDlg(DocumentCommands *pCommands, DocumentFiles *pFiles, QWidget *pParent,
              std::function<void(bool)> done = {});

public Q_SLOTS:
    void slot_ExportAs(int iFormat);

private:
    void exportFormat(int iFormat, const QString &strFile);

    DocumentCommands *commands;
    DocumentFiles *files;
    QButtonGroup *group;
    std::function<void(bool)> done;
};

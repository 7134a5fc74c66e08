#pragma once

#include <QString>

class QButtonGroup;
class QGridLayout;
class QWidget;

// One entry of a command panel: its picture and its text.
struct PopupCommand
{
    const char *picture;
    const char *text;
};

// Fills a command panel's grid with one entry per row.
class PopupCommands
{
public:
    // Adds the entries with ids iFirstId, iFirstId + 1, ... to pGroup.
    static void addEntries(QGridLayout *pGrid, int &iRow, const PopupCommand *pEntries, int iCount,
                           int iFirstId, QButtonGroup *pGroup, QWidget *pOwner);
};

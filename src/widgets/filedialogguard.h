#pragma once

// Marks that one of the program's file dialogs is open, for as long as the
// guard lives: whatever way the dialog's caller leaves, the mark goes with it.
class FileDialogGuard
{
public:
    FileDialogGuard();
    ~FileDialogGuard();
    FileDialogGuard(const FileDialogGuard &) = delete;
    FileDialogGuard &operator=(const FileDialogGuard &) = delete;

    static bool isOpen();

    // Runs ask, which shows a file dialog, under a guard and returns its
    // answer.
    template<typename Ask>
    static auto around(Ask ask)
    {
        const FileDialogGuard open;
        return ask();
    }

private:
    static int openCount;
};

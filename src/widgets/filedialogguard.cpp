#include "filedialogguard.h"

int FileDialogGuard::openCount = 0;

FileDialogGuard::FileDialogGuard()
{
    ++openCount;
}

FileDialogGuard::~FileDialogGuard()
{
    --openCount;
}

bool FileDialogGuard::isOpen()
{
    return openCount > 0;
}

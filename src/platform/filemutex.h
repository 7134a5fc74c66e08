#pragma once

#include <QString>

// A mutex between processes, held while the object lives. Removing a dead
// holder's lock file and creating a new one are two steps; starts that run
// them at the same moment can each remove the other's fresh lock and all go
// on as the first. Taking this mutex around them makes them one step. Its
// file is never removed, and the system lets go of it when a holder dies.
// When the file cannot be made or the mutex is not free in time, the object
// holds nothing and the caller goes on unguarded.
class FileMutex
{
public:
    explicit FileMutex(const QString &strPath, int timeoutMs = 2000);
    ~FileMutex();
    FileMutex(const FileMutex &) = delete;
    FileMutex &operator=(const FileMutex &) = delete;

private:
    int fd = -1;
};

#pragma once

#include <QFileDevice>

// The mode a program gives a file it creates for the user: what a plain
// create would give (0666 less the umask on Unix). Files written beside the
// target and renamed over it start private, so they take this mode when the
// target is new.
class NewFileMode
{
public:
    static QFileDevice::Permissions permissions();
    // The same for a given umask, for the systems where it can be read.
    static QFileDevice::Permissions fromUmask(int umask);
};

#pragma once

#include "toolhost.h"

#include <QPointer>
#include <QWidget>

// A tool host kept past the event that brought it, for a timer or a later
// reset: it reads null once the canvas is gone.
class HostPointer
{
public:
    HostPointer &operator=(ToolHost *pHost)
    {
        host = pHost;
        alive = pHost ? pHost->widget() : nullptr;
        return *this;
    }

    ToolHost *get() const { return alive ? host : nullptr; }
    ToolHost *operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }

private:
    ToolHost *host = nullptr;
    QPointer<QWidget> alive;
};

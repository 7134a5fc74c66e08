#pragma once

#include "platform.h"

// Windows backend: the Qt side; the Win32 calls live in win/winapi.cpp.
class WinPlatform : public Platform
{
public:
    QString name() const override;
    void setTopmost(QWidget *pWidget) override;
    void setToolWindowStyle(QWidget *pWidget) override;
    bool isCompositionAvailable() override;
};

#pragma once

#include "platform/nullplatform.h"

// A platform without a desktop but with composition, where the live desktop
// can be turned on.
struct CompositedPlatform : NullPlatform
{
    bool isCompositionAvailable() override { return true; }
};

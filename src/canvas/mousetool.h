#pragma once

#include "tool.h"

// The tool of desktop mode: input passes to the other applications, so the
// canvas has nothing to do beyond the shared gesture bookkeeping.
class MouseTool : public Tool
{
};

#pragma once

// Gives screen readers an interface for the program's own painted buttons,
// whose Qt default would be a nameless widget. Installing more than once
// installs once.
class AccessibleFactory
{
public:
    static void install();
};

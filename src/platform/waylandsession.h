#pragma once

// A Wayland session, told by the environment. The program's windows run
// through XWayland there (a floating stay-on-top toolbar and full-screen pages
// need what X gives), while pictures of the screen come from the desktop's
// portal.
class WaylandSession
{
public:
    static bool detected();
    // Before the application object exists: asks for the X platform when the
    // session offers XWayland and no other platform was asked for.
    static void preferXWayland();
    // Before the application object exists: a Wayland session where the X
    // platform would be used but no X display answers, so that the toolkit
    // would abort the start.
    static bool lacksXWayland();
};

// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// Asks an X11 window to close, as a window manager's close box does: a WM_DELETE_WINDOW message
// of the WM_PROTOCOLS client protocol. Under Xvfb no window manager runs to send it.
//   x11-close-request <window id>      (decimal, or hexadecimal with 0x)

#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

bool badWindow = false;

int RecordError(Display*, XErrorEvent* error)
{
    badWindow = error->error_code == BadWindow;
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: x11-close-request <window id>\n");
        return 2;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long window = std::strtoul(argv[1], &end, 0);
    if (errno != 0 || end == argv[1] || *end != '\0' || window == 0) {
        std::fprintf(stderr, "x11-close-request: not a window id: %s\n", argv[1]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11-close-request: cannot open display %s\n", XDisplayName(nullptr));
        return 1;
    }
    XSetErrorHandler(RecordError);

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    if (badWindow) {
        std::fprintf(stderr, "x11-close-request: no window 0x%lx\n", window);
        return 1;
    }
    return 0;
}

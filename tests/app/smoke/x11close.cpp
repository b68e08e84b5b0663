// Asks the window with the given title to close, as a window manager's close
// button does (WM_DELETE_WINDOW), and prints its id when found.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstring>
#include <string>

static Window Find(Display* d, Window w, const char* title)
{
    char* name = nullptr;
    if (XFetchName(d, w, &name) && name) {
        const bool match = std::strcmp(name, title) == 0;
        XFree(name);
        if (match)
            return w;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            found = Find(d, children[i], title);
        if (children)
            XFree(children);
    }
    return found;
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: x11close find|close <title>\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 3;
    const Window w = Find(d, DefaultRootWindow(d), argv[2]);
    if (!w) {
        XCloseDisplay(d);
        return 1;
    }
    if (std::string(argv[1]) == "close") {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, w, False, NoEventMask, &e);
        XFlush(d);
    }
    std::printf("0x%lx\n", w);
    XCloseDisplay(d);
    return 0;
}

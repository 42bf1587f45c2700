// Launches a program on the current X display and measures how soon its windows can be used.
//
//   startup_probe first PROGRAM [ARGS...]     launch -> first window mapped and answering
//   startup_probe handover PROGRAM [ARGS...]  as first, then presses Space on that window and
//                                             measures key -> next window mapped and answering
//
// "Answering" means the program's event loop has replied to a _NET_WM_PING sent to the window
// after it was mapped: the window has had its first expose and the program takes input. The
// program is then terminated, and its peak resident set size is read from wait4().
// Prints one line: first_ms=... [handover_ms=...] maxrss_kb=...
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace {

double now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

struct display {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t wm_protocols = 0;
    xcb_atom_t ping = 0;

    // Waits for the next event, at most until `deadline`; null on time-out.
    xcb_generic_event_t* next(double deadline) {
        for (;;) {
            if (xcb_generic_event_t* e = xcb_poll_for_event(c)) return e;
            const double left = deadline - now_ms();
            if (left <= 0) return nullptr;
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left) + 1);
        }
    }

    // The next top-level window mapped other than `except`, plain (not override-redirect).
    std::optional<xcb_window_t> wait_map(xcb_window_t except, double deadline) {
        while (xcb_generic_event_t* e = next(deadline)) {
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> hold(e, &std::free);
            if ((e->response_type & 0x7F) != XCB_MAP_NOTIFY) continue;
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
            if (map->override_redirect || map->window == except) continue;
            return map->window;
        }
        return std::nullopt;
    }

    // Sends _NET_WM_PING to `w` and waits for the program's reply on the root window.
    bool ping_and_wait(xcb_window_t w, double deadline) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = w;
        message.type = wm_protocols;
        message.data.data32[0] = ping;
        message.data.data32[1] = XCB_CURRENT_TIME;
        message.data.data32[2] = w;
        xcb_send_event(c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(c);
        while (xcb_generic_event_t* e = next(deadline)) {
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> hold(e, &std::free);
            if ((e->response_type & 0x7F) != XCB_CLIENT_MESSAGE) continue;
            const auto* reply = reinterpret_cast<xcb_client_message_event_t*>(e);
            if (reply->window == root && reply->data.data32[0] == ping &&
                reply->data.data32[2] == w)
                return true;
        }
        return false;
    }

    std::string size_of(xcb_window_t w) {
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> g(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr), &std::free);
        return g ? std::to_string(g->width) + "x" + std::to_string(g->height) : "?";
    }

    void press_space(xcb_window_t w) {
        for (const std::uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
            xcb_key_press_event_t key{};
            key.response_type = type;
            key.detail = 65;  // Space in the X server's default keymap
            key.time = XCB_CURRENT_TIME;
            key.root = root;
            key.event = w;
            key.child = XCB_NONE;
            key.event_x = key.event_y = 10;
            key.same_screen = 1;
            const std::uint32_t event_mask = type == XCB_KEY_PRESS
                                                 ? std::uint32_t{XCB_EVENT_MASK_KEY_PRESS}
                                                 : std::uint32_t{XCB_EVENT_MASK_KEY_RELEASE};
            xcb_send_event(c, 1, w, event_mask, reinterpret_cast<const char*>(&key));
        }
        xcb_flush(c);
    }
};

int fail(const char* what, pid_t child) {
    std::fprintf(stderr, "startup_probe: %s\n", what);
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3 || (std::strcmp(argv[1], "first") != 0 && std::strcmp(argv[1], "handover") != 0)) {
        std::fprintf(stderr, "usage: startup_probe first|handover PROGRAM [ARGS...]\n");
        return 2;
    }
    const bool handover = std::strcmp(argv[1], "handover") == 0;

    display x;
    int screen_number = 0;
    x.c = xcb_connect(nullptr, &screen_number);
    if (xcb_connection_has_error(x.c)) return fail("cannot open the display", 0);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x.c));
    for (int i = 0; i < screen_number; ++i) xcb_screen_next(&screens);
    x.root = screens.data->root;
    x.wm_protocols = intern(x.c, "WM_PROTOCOLS");
    x.ping = intern(x.c, "_NET_WM_PING");
    // Substructure: the program's windows being mapped. Structure: the reply to a ping, which
    // Qt sends to the root window for these two masks (the second belongs to a window manager).
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_void_cookie_t select = xcb_change_window_attributes_checked(x.c, x.root, XCB_CW_EVENT_MASK, &mask);
    if (xcb_generic_error_t* error = xcb_request_check(x.c, select)) {
        std::free(error);
        return fail("cannot watch the root window", 0);
    }

    const double launched = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    if (child < 0) return fail("cannot start the program", 0);

    const double deadline = launched + 10000;
    const std::optional<xcb_window_t> first = x.wait_map(XCB_NONE, deadline);
    if (!first) return fail("no window was mapped", child);
    if (!x.ping_and_wait(*first, deadline)) return fail("the first window does not answer", child);
    const double first_ready = now_ms();
    std::printf("first_ms=%.1f first_size=%s", first_ready - launched, x.size_of(*first).c_str());

    if (handover) {
        const double pressed = now_ms();
        x.press_space(*first);
        const std::optional<xcb_window_t> next = x.wait_map(*first, pressed + 10000);
        if (!next) return fail("no second window was mapped", child);
        const double mapped = now_ms();
        if (!x.ping_and_wait(*next, pressed + 10000)) return fail("the second window does not answer", child);
        const double ready = now_ms();
        std::printf(" handover_map_ms=%.1f handover_ms=%.1f next_size=%s", mapped - pressed,
                    ready - pressed, x.size_of(*next).c_str());
    }

    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::printf(" maxrss_kb=%ld\n", usage.ru_maxrss);
    xcb_disconnect(x.c);
    return 0;
}

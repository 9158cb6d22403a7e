// Starts a program on the current X display and measures, from the outside: the time to its
// first painted frame, its resident memory once shown, its wake-ups while idle, and the time
// from a window-manager close request to its exit. Prints one line of "key=value" figures.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

using Clock = std::chrono::steady_clock;

namespace {

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

xcb_atom_t Atom(xcb_connection_t *c, const char *name)
{
    auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_ATOM_NONE;
    std::free(reply);
    return atom;
}

// True once any sampled pixel of the window differs from the black root behind it.
bool Painted(xcb_connection_t *c, xcb_window_t window, int width, int height)
{
    for (int i = 1; i < 8; ++i) {
        const int x = width * i / 8, y = height * i / 8;
        auto cookie =
            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, int16_t(x), int16_t(y), 1, 1, ~0u);
        xcb_get_image_reply_t *reply = xcb_get_image_reply(c, cookie, nullptr);
        if (!reply)
            continue;
        const uint8_t *data = xcb_get_image_data(reply);
        const bool lit = data[0] != 0 || data[1] != 0 || data[2] != 0;
        std::free(reply);
        if (lit)
            return true;
    }
    return false;
}

long FieldOf(const std::string &path, const std::string &key)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) == 0)
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
    }
    return 0;
}

// Context switches of every thread of the process.
long ContextSwitches(pid_t pid)
{
    long total = 0;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    if (DIR *tasks = opendir(dir.c_str())) {
        while (dirent *entry = readdir(tasks)) {
            if (entry->d_name[0] == '.')
                continue;
            const std::string status = dir + "/" + entry->d_name + "/status";
            total += FieldOf(status, "voluntary_ctxt_switches:") +
                     FieldOf(status, "nonvoluntary_ctxt_switches:");
        }
        closedir(tasks);
    }
    return total;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: probe <program> [idle seconds]\n");
        return 2;
    }
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 5;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(argv[1], argv[1], static_cast<char *>(nullptr));
        _exit(127);
    }

    xcb_window_t window = XCB_WINDOW_NONE;
    int width = 0, height = 0;
    while (window == XCB_WINDOW_NONE) {
        xcb_generic_event_t *event = xcb_wait_for_event(c);
        if (!event)
            return 3;
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            auto geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, map->window), nullptr);
            if (!map->override_redirect && geometry && geometry->width > 100) {
                window = map->window;
                width = geometry->width;
                height = geometry->height;
            }
            std::free(geometry);
        }
        std::free(event);
    }
    const double mapped = MillisecondsSince(start);
    while (!Painted(c, window, width, height))
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    const double painted = MillisecondsSince(start);

    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long rssKiB = FieldOf("/proc/" + std::to_string(pid) + "/status", "VmRSS:");
    const long switchesBefore = ContextSwitches(pid);
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double wakeups = double(ContextSwitches(pid) - switchesBefore) / idleSeconds;

    xcb_client_message_event_t close = {};
    close.response_type = XCB_CLIENT_MESSAGE;
    close.format = 32;
    close.window = window;
    close.type = Atom(c, "WM_PROTOCOLS");
    close.data.data32[0] = Atom(c, "WM_DELETE_WINDOW");
    close.data.data32[1] = XCB_CURRENT_TIME;
    const auto closeStart = Clock::now();
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&close));
    xcb_flush(c);
    int status = 0;
    waitpid(pid, &status, 0);
    const double exitMs = MillisecondsSince(closeStart);

    std::printf("mapped_ms=%.1f painted_ms=%.1f rss_kib=%ld wakeups_per_s=%.2f exit_ms=%.1f "
                "exit_code=%d\n",
                mapped, painted, rssKiB, wakeups, exitMs,
                WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    xcb_disconnect(c);
    return 0;
}

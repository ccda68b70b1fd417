#include "panel/platform/wayland_selection.h"

#include <QStandardPaths>

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

extern char** environ;

namespace rovanta {

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks whether it is to stop.
constexpr std::chrono::milliseconds kPollSlice{50};

// The few calls of the Wayland client library a look at the compositor's globals needs. The library is
// opened only here, when the program runs on Wayland, so the programs do not depend on it elsewhere.
struct WaylandClient {
    using Connect = void* (*)(const char*);
    using Disconnect = void (*)(void*);
    using Roundtrip = int (*)(void*);
    using Construct = void* (*)(void*, std::uint32_t, const void*, ...);
    using Listen = int (*)(void*, void (**)(), void*);
    using Destroy = void (*)(void*);

    Connect connect = nullptr;
    Disconnect disconnect = nullptr;
    Roundtrip roundtrip = nullptr;
    Construct construct = nullptr;
    Listen listen = nullptr;
    Destroy destroy = nullptr;
    const void* registryInterface = nullptr;

    bool load()
    {
        void* library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return false;
        connect = reinterpret_cast<Connect>(dlsym(library, "wl_display_connect"));
        disconnect = reinterpret_cast<Disconnect>(dlsym(library, "wl_display_disconnect"));
        roundtrip = reinterpret_cast<Roundtrip>(dlsym(library, "wl_display_roundtrip"));
        construct = reinterpret_cast<Construct>(dlsym(library, "wl_proxy_marshal_constructor"));
        listen = reinterpret_cast<Listen>(dlsym(library, "wl_proxy_add_listener"));
        destroy = reinterpret_cast<Destroy>(dlsym(library, "wl_proxy_destroy"));
        registryInterface = dlsym(library, "wl_registry_interface");
        return connect && disconnect && roundtrip && construct && listen && destroy && registryInterface;
    }
};

// The registry's two events, in the order the protocol lists them.
struct RegistryListener {
    void (*global)(void* data, void* registry, std::uint32_t name, const char* interface,
                   std::uint32_t version);
    void (*globalRemove)(void* data, void* registry, std::uint32_t name);
};

void noteGlobal(void* data, void*, std::uint32_t, const char* interface, std::uint32_t)
{
    for (const char* shared : {"zwlr_data_control_manager_v1", "ext_data_control_manager_v1"}) {
        if (std::strcmp(interface, shared) == 0)
            *static_cast<bool*>(data) = true;
    }
}

void forgetGlobal(void*, void*, std::uint32_t) {}

bool askCompositor()
{
    WaylandClient client;
    if (!client.load())
        return false;
    void* display = client.connect(nullptr);
    if (!display)
        return false;
    constexpr std::uint32_t kGetRegistry = 1;
    void* registry = client.construct(display, kGetRegistry, client.registryInterface, nullptr);
    static const RegistryListener listener{&noteGlobal, &forgetGlobal};
    bool shared = false;
    if (registry) {
        client.listen(registry, reinterpret_cast<void (**)()>(const_cast<RegistryListener*>(&listener)),
                      &shared);
        client.roundtrip(display);
        client.destroy(registry);
    }
    client.disconnect(display);
    return shared;
}

struct Pipe {
    std::array<int, 2> ends{-1, -1};
    ~Pipe()
    {
        for (const int end : ends) {
            if (end >= 0)
                close(end);
        }
    }
};

// wl-paste in a process group of its own, its standard output into `into`, so that one signal ends it
// and whatever it started.
pid_t startWlPaste(bool primary, const QByteArray& type, int into)
{
    std::vector<const char*> arguments{"wl-paste", "--no-newline", "--type", type.constData()};
    if (primary)
        arguments.push_back("--primary");
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, into, 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t child = -1;
    const int failed = posix_spawnp(&child, "wl-paste", &actions, &attributes,
                                    const_cast<char* const*>(arguments.data()), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : child;
}

// Everything the child writes until it closes its output; nothing when it stays silent for `patience`
// or `stop` is set.
std::optional<QByteArray> drain(int from, std::chrono::milliseconds patience, const std::atomic<bool>& stop)
{
    QByteArray taken;
    Clock::time_point deadline = Clock::now() + patience;
    while (!stop && Clock::now() < deadline) {
        pollfd ready{from, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(kPollSlice.count())) <= 0)
            continue;
        std::array<char, 65536> piece;
        const ssize_t count = ::read(from, piece.data(), piece.size());
        if (count == 0)
            return taken;
        if (count < 0)
            return std::nullopt;
        taken.append(piece.data(), count);
        deadline = Clock::now() + patience;
    }
    return std::nullopt;
}

} // namespace

bool wlPasteCanRead()
{
    static const bool can =
        !QStandardPaths::findExecutable(QStringLiteral("wl-paste")).isEmpty() && askCompositor();
    return can;
}

std::optional<QString> readWaylandSelection(bool primary, const QString& type,
                                            std::chrono::milliseconds patience, const std::atomic<bool>& stop)
{
    Pipe output;
    if (pipe2(output.ends.data(), O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = startWlPaste(primary, type.toUtf8(), output.ends[1]);
    close(std::exchange(output.ends[1], -1));
    if (child < 0)
        return std::nullopt;
    const std::optional<QByteArray> taken = drain(output.ends[0], patience, stop);
    if (!taken)
        kill(-child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (!taken || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return type == u"STRING" ? QString::fromLatin1(*taken) : QString::fromUtf8(*taken);
}

} // namespace rovanta

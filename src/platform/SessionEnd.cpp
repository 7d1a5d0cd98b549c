#include "platform/SessionEnd.h"

#include <QGuiApplication>
#include <QObject>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace SessionEnd {

namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

int g_pipe[2] = {-1, -1};
bool g_requested = false;
std::function<void()> g_onEnd;
QPointer<QSocketNotifier> g_notifier;
QPointer<QObject> g_connections;

extern "C" void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request; the byte is not needed.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void drainPipe() {
    char bytes[64];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
}

void closePipe() {
    for (int& fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

}  // namespace

void Install(std::function<void()> onEnd) {
    g_onEnd = std::move(onEnd);
    if (g_pipe[0] >= 0)
        return;
    if (::pipe2(g_pipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    g_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(g_notifier.data(), &QSocketNotifier::activated, [] {
        drainPipe();
        Request();
    });

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Signals) ::sigaction(signal, &action, nullptr);

    g_connections = new QObject(QCoreApplication::instance());
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // Nobody is there to answer a question when the session ends.
        QObject::connect(app, &QGuiApplication::commitDataRequest, g_connections.data(),
                         [](QSessionManager&) { Request(); });
        QObject::connect(app, &QCoreApplication::aboutToQuit, g_connections.data(), [] { Request(); });
    }
}

void Uninstall() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : Signals) ::sigaction(signal, &action, nullptr);
    delete g_notifier.data();
    delete g_connections.data();
    closePipe();
    g_onEnd = {};
    g_requested = false;
}

bool Requested() { return g_requested; }

void Request() {
    if (g_requested)
        return;
    g_requested = true;
    if (g_onEnd)
        g_onEnd();
}

}  // namespace SessionEnd

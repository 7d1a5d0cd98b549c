#include "support/TestEnvironment.h"

#include "platform/RuntimeError.h"

#include <QDir>

#include <cstdlib>

namespace TestEnvironment {

namespace {
QString& home() {
    static QString h;
    return h;
}
}  // namespace

void PrepareHome(const QString& folder) {
    home() = folder;
    const QByteArray h = folder.toUtf8();
    const auto set = [&](const char* name, const char* sub) {
        const QByteArray path = h + sub;
        QDir().mkpath(QString::fromUtf8(path));
        qputenv(name, path);
    };
    set("HOME", "");
    set("XDG_CONFIG_HOME", "/.config");
    set("XDG_DATA_HOME", "/.local/share");
    set("XDG_CACHE_HOME", "/.cache");
    set("XDG_RUNTIME_DIR", "/.runtime");
    set("TMPDIR", "/tmp");
    // QStandardPaths reads user-dirs.dirs for the pictures and documents folders.
    QDir().mkpath(folder + QStringLiteral("/Pictures"));
    QDir().mkpath(folder + QStringLiteral("/Documents"));
    QFile dirs(folder + QStringLiteral("/.config/user-dirs.dirs"));
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_PICTURES_DIR=\"$HOME/Pictures\"\nXDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n");
}

QString Home() { return home(); }

void Reset() { MessageBox::SetHandler({}); }

int32_t ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace TestEnvironment

ScriptedMessageBox::ScriptedMessageBox(std::deque<int> answers) : m_answers(std::move(answers)) {
    MessageBox::SetHandler([this](const MessageBox::Request& request) {
        m_requests.push_back(request);
        if (m_answers.empty())
            return static_cast<int>(MessageBox::OK);
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

ScriptedMessageBox::~ScriptedMessageBox() { MessageBox::SetHandler({}); }

#include "support/FaultInjection.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace FaultInjection {

::testing::AssertionResult RunWithFileSizeLimit(off_t limitBytes, const std::function<void()>& body) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = ::fork();
    if (child < 0)
        return ::testing::AssertionFailure() << "fork: " << std::strerror(errno);
    if (child == 0) {
        int code = 0;
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(limitBytes), static_cast<rlim_t>(limitBytes)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            code = 3;
        } else {
            try {
                body();
                code = ::testing::Test::HasFailure() ? 1 : 0;
            } catch (...) {
                code = 2;
            }
        }
        std::fflush(stdout);
        std::fflush(stderr);
        // Nothing of the parent's objects is torn down twice.
        ::_exit(code);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return ::testing::AssertionSuccess();
    if (WIFEXITED(status))
        return ::testing::AssertionFailure()
               << (WEXITSTATUS(status) == 1   ? "the child failed an expectation (see above)"
                   : WEXITSTATUS(status) == 2 ? "the child raised an exception"
                                              : "the child could not set the file-size limit");
    return ::testing::AssertionFailure() << "the child ended by signal " << WTERMSIG(status);
}

bool LeaveFree(const QString& folder, qint64 freeBytes) {
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    const qint64 available = static_cast<qint64>(info.f_bavail) * static_cast<qint64>(info.f_frsize);
    if (available <= freeBytes)
        return true;
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(64 * 1024, 'f');
    for (qint64 left = available - freeBytes; left > 0; left -= block.size())
        if (filler.write(block.constData(), std::min<qint64>(left, block.size())) < 0)
            return false;
    return filler.flush();
}

pid_t DeadProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

QImage Noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator generator(17);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, 0xFF000000u | (generator.generate() & 0xFFFFFFu));
    return image;
}

QStringList EntriesOf(const QString& folder) {
    QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    entries.sort();
    return entries;
}

}  // namespace FaultInjection

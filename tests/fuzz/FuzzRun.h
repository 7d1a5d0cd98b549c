#pragma once

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <unistd.h>

// The command line and the work folder every fuzz driver takes:
//   <driver> [--seconds N] [--seed S] [--work DIR]
struct FuzzRun {
    long seconds = 60;
    uint64_t seed = std::random_device{}();
    QString work;
    std::unique_ptr<QTemporaryDir> temporary;  // the work folder when none is given

    // Reads the options, makes the work folder (memory-backed when there is one: the runs make and remove
    // many small files), says what it runs, and arms an alarm: a hang is a finding too, and the alarm's
    // default action ends the process, which fails the run.
    FuzzRun(const char* name, const QStringList& args) {
        for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
            if (args[i] == "--seconds")
                seconds = args[i + 1].toLong();
            else if (args[i] == "--seed")
                seed = args[i + 1].toULongLong();
            else if (args[i] == "--work")
                work = args[i + 1];
        }
        if (work.isEmpty()) {
            const QFileInfo shm(QStringLiteral("/dev/shm"));
            const QString pattern = QString::fromLatin1(name) + QStringLiteral("-XXXXXX");
            temporary = std::make_unique<QTemporaryDir>(shm.isDir() && shm.isWritable()
                                                            ? QStringLiteral("/dev/shm/") + pattern
                                                            : QDir::tempPath() + QLatin1Char('/') + pattern);
            work = temporary->path();
        }
        QDir().mkpath(work);
        std::printf("%s: seed %llu, %ld s, in %s\n", name, static_cast<unsigned long long>(seed), seconds,
                    qPrintable(work));
        std::fflush(stdout);
        ::alarm(static_cast<unsigned>(seconds) + 60);
    }
};

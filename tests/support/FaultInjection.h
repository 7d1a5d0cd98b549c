#pragma once

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <sys/types.h>

// Faults injected where users meet them.
namespace FaultInjection {

// Runs body in a forked child whose files cannot grow past limitBytes, as on a full disk: a write past the limit
// fails with EFBIG (SIGXFSZ is ignored). Expectations inside body report from the child as usual; the result
// says whether the child passed them all and ended normally. The child shares the parent's files, not its
// memory: what body changes in objects stays in the child.
::testing::AssertionResult RunWithFileSizeLimit(off_t limitBytes, const std::function<void()>& body);

// Fills the file system of folder with a file in it until about freeBytes are left; false when it cannot.
bool LeaveFree(const QString& folder, qint64 freeBytes);

// The id of a process that has ended (a child started and reaped here), for names of a writer that is gone.
pid_t DeadProcessId();

// A picture of random pixels: it does not compress, so each format's file of it is about as large as its
// pixels, which puts it past a file-size limit or a small file system.
QImage Noise(int width, int height);

// The entries of a folder, hidden ones too, sorted.
QStringList EntriesOf(const QString& folder);

}  // namespace FaultInjection

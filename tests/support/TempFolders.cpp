#include "support/TempFolders.h"

#include "services/FileShared.h"

TempFolders::TempFolders(const QString& tmpdir, const QString& system) : m_old(qgetenv("TMPDIR")) {
    qputenv("TMPDIR", tmpdir.toUtf8());
    FileShared::SetSystemTemporaryFolder(system);
}

TempFolders::~TempFolders() {
    qputenv("TMPDIR", m_old);
    FileShared::SetSystemTemporaryFolder(QStringLiteral("/tmp"));
}

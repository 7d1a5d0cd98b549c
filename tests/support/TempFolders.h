#pragma once

#include <QByteArray>
#include <QString>

// Points TMPDIR and the system's temporary folder elsewhere for as long as it lives.
class TempFolders {
public:
    TempFolders(const QString& tmpdir, const QString& system);
    ~TempFolders();
    TempFolders(const TempFolders&) = delete;
    TempFolders& operator=(const TempFolders&) = delete;

private:
    QByteArray m_old;
};

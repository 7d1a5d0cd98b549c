#include "platform/App.h"

#include "platform/InputGate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace App {

namespace {
QString& title() {
    static QString t = QStringLiteral("Tindral");
    return t;
}
QString& pathOverride() {
    static QString p;
    return p;
}
}  // namespace

QString Title() { return title(); }

void SetTitle(const QString& t) { title() = t; }

QString EXEName() { return QStringLiteral("tindral"); }

QString Path() {
    if (!pathOverride().isEmpty())
        return pathOverride();
    const QString exeDir = QCoreApplication::applicationDirPath();
    // In the build tree the data files sit beside the executable; installed, under share/tindral.
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/tindral"));
    if (!QFileInfo::exists(exeDir + QStringLiteral("/textures")) && QFileInfo::exists(installed))
        return installed;
    return exeDir;
}

void SetPath(const QString& folder) { pathOverride() = QDir::cleanPath(folder); }

void DoEvents() { InputGate::Instance().RunPending(); }

}  // namespace App

#include "platform/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>

namespace FileDialog {

namespace {
Handler& handler() {
    static Handler h;
    return h;
}
QPointer<QWidget>& owner() {
    static QPointer<QWidget> w;
    return w;
}

Result showReal(const Request& request) {
    // The start folder is set below: given to the constructor, a missing one would land in the name box.
    QFileDialog dialog(request.parent ? request.parent : owner().data(), request.title);
    dialog.setAcceptMode(request.mode == Mode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (request.mode == Mode::Open)
        dialog.setFileMode((request.flags & FileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (request.mode == Mode::Save && !(request.flags & OverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = NameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex - 1;
        if (index >= 0 && index < filters.size())
            dialog.selectNameFilter(filters[index]);
    }
    const Start start = StartOf(request);
    if (!start.folder.isEmpty())
        dialog.setDirectory(start.folder);
    // A full path keeps the box in that folder and puts only the name into the name box.
    if (!start.name.isEmpty())
        dialog.selectFile(start.folder.isEmpty() ? start.name : QDir(start.folder).filePath(start.name));
    Result result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.accepted = true;
    result.fileName = dialog.selectedFiles().front();
    result.filterIndex = std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return result;
}
}  // namespace

Start StartOf(const Request& request) {
    Start start;
    const QFileInfo file(request.fileName);
    if (!request.fileName.isEmpty() && !file.fileName().contains(QRegularExpression(QStringLiteral("[*?\\[]"))))
        start.name = file.fileName();
    QStringList folders;
    if (!request.fileName.isEmpty() && request.fileName.contains(QLatin1Char('/')))
        folders << file.absolutePath();
    if (!request.initDir.isEmpty())
        folders << request.initDir;
    if (folders.isEmpty())
        return start;
    folders << QDir::homePath();
    for (const QString& folder : folders)
        if (QFileInfo(folder).isDir()) {
            start.folder = QDir(folder).absolutePath();
            break;
        }
    return start;
}

Result Show(const Request& request) {
    if (handler())
        return handler()(request);
    return showReal(request);
}

void SetHandler(Handler h) { handler() = std::move(h); }

void SetOwner(QWidget* w) { owner() = w; }

QStringList NameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // A trailing ";" ends the list; it adds no empty pattern.
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        // A description that already lists its patterns keeps them once.
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + patterns + QLatin1Char(')');
        else
            description = description.left(description.indexOf(QLatin1Char('('))).trimmed() + QStringLiteral(" (") +
                          patterns + QLatin1Char(')');
        result << description;
    }
    return result;
}

Request PictureOpenRequest(QWidget* parent) {
    Request request;
    request.mode = Mode::Open;
    request.flags = FileMustExist | HideReadOnly;
    request.filter =
        QStringLiteral("Pictures (*.bmp;*.png;*.jpg;*.gif;*.tif;*.tga)|*.bmp;*.png;*.jpg;*.gif;*.tif;*.tga");
    request.title = QStringLiteral("Open image");
    request.parent = parent;
    return request;
}

}  // namespace FileDialog

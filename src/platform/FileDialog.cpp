#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QPointer>

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
    QFileDialog dialog(request.parent ? request.parent : owner().data(), request.title, request.initDir);
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
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    Result result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.accepted = true;
    result.fileName = dialog.selectedFiles().front();
    result.filterIndex = std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return result;
}
}  // namespace

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
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
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

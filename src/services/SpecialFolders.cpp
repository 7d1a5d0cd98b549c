#include "services/SpecialFolders.h"

#include <QStandardPaths>

namespace SpecialFolders {

QString GetSpecialFolder(int folderId, int /*flags*/) {
    QStandardPaths::StandardLocation location;
    switch (folderId) {
        case MyDocuments: location = QStandardPaths::DocumentsLocation; break;
        case MyPictures: location = QStandardPaths::PicturesLocation; break;
        default: return {};
    }
    return TrimNull(QStandardPaths::writableLocation(location));
}

QString MyPicturesFolder() { return GetSpecialFolder(MyPictures, 0); }

QString MyDocumentsFolder() { return GetSpecialFolder(MyDocuments, 0); }

QString TrimNull(const QString& text) {
    const qsizetype i = text.indexOf(QChar(u'\0'));
    return i < 0 ? text : text.left(i);
}

}  // namespace SpecialFolders

#pragma once

#include <QString>

#include <functional>

class QWidget;

// The common dialog's file boxes, with a seam that tests answer.
namespace FileDialog {

// The common dialog's flags that matter here (others are accepted and ignored).
enum Flags : int {
    ReadOnly = 0x1,
    OverwritePrompt = 0x2,
    HideReadOnly = 0x4,
    NoChangeDir = 0x8,
    AllowMultiselect = 0x200,
    PathMustExist = 0x800,
    FileMustExist = 0x1000,
    CreatePrompt = 0x2000,
};

enum class Mode { Open, Save };

struct Request {
    Mode mode = Mode::Open;
    QString title;
    // "Description|pattern;pattern|Description|pattern", as the common dialog takes it.
    QString filter;
    int filterIndex = 1;  // 1-based
    // Where the box starts: fileName's folder, else initDir, else (when either was given) the home folder, the
    // first of them that exists. The name box takes fileName's own name unless that is a pattern such as "*.tnd".
    QString initDir;
    QString fileName;
    int flags = 0;
    QWidget* parent = nullptr;  // modal to this widget; none: the owner set by SetOwner
};

struct Result {
    bool accepted = false;  // false: the user cancelled
    QString fileName;       // full path
    int filterIndex = 1;
};

using Handler = std::function<Result(const Request&)>;

// The folder and the name a box for the request starts with; an empty folder leaves the dialog's own choice.
struct Start {
    QString folder;
    QString name;
};
Start StartOf(const Request& request);

// Shows the dialog (or asks the handler) and returns what the user chose.
Result Show(const Request& request);

// Replaces the real dialog (tests); an empty handler puts the QFileDialog back.
void SetHandler(Handler handler);
// The widget the dialog is modal to.
void SetOwner(QWidget* owner);

// The open box for a picture, as the swatch and the stage ask for one: existing files only, the picture types
// the program reads.
Request PictureOpenRequest(QWidget* parent);

// "Pictures (*.bmp)|*.bmp|All|*.*" as Qt's name filters: "Pictures (*.bmp)", "All (*.*)".
QStringList NameFilters(const QString& filter);

}  // namespace FileDialog

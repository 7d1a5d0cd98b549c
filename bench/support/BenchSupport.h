#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>

class frmMain;

namespace BenchSupport {

// Runs the registered benchmarks with the command line's options.
int RunBenchmarks(int argc, char** argv);

// Closes and deletes the main window; what the benchmark changed is dropped without the save question.
void CloseWithoutSaving(frmMain* window);

// A photograph stand-in: smooth gradients with a little noise, so PNG compresses it as it would a photo.
QImage Photo(int width, int height);

}  // namespace BenchSupport

// A program folder with one grey pattern texture ("noise.bmp") and a texture list to match, made the
// program's folder with a converter and a plain top colour for as long as it lives.
class PatternProgramFolder {
public:
    PatternProgramFolder();
    ~PatternProgramFolder();
    PatternProgramFolder(const PatternProgramFolder&) = delete;
    PatternProgramFolder& operator=(const PatternProgramFolder&) = delete;

    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

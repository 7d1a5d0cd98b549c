#include "app/DocumentFixture.h"
#include "support/ModelPrinters.h"
#include "support/TempFolders.h"

#include <functional>

namespace {

using namespace DocumentFixture;

// The program in a temporary folder of its own, which holds nothing else.
class TemporaryFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(documents.isValid());
        clearStoredSettings();
        window = MainWindowFixture::StartProgram();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        MainWindowFixture::StopProgram();
        clearStoredSettings();
    }

    QStringList left() const {
        return QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir tmp;
    QTemporaryDir documents;
    TempFolders folders{tmp.path(), tmp.path()};
    frmMain* window = nullptr;
};

// A document with something in every part that keeps colours: an image-textured proofer, a fixed one,
// strips, the pie.
QString saveDocument(frmMain& window, const QString& folder) {
    const QString picture = folder + "/picture.png";
    quarters(40, 30).save(picture);
    window.SetProoferCount(5, false);
    window.cpList[1]->SetColor(Factory::NewColor(
        Factory::NewTexture(99, "Holiday", picture, TextureKind::Image, false, false), CommandIds::RangeAllRGB, false));
    window.cpList[3]->SetFixed(true);
    window.history[0]->AddColorPanels({plainColor(1, 2, 3), plainColor(200, 100, 50)});
    window.ctlMatch->AddColor(window.history[0]->Panel(0)->PanelColor());
    const QString document = folder + "/kept.tnd";
    ScriptedFileDialog dialogs({document});
    window.Bars().ExecuteCommand(CommandIds::FileSaveAs);
    return document;
}

struct Cycle {
    const char* name;
    // Runs once before the cycles, given a folder for documents; gives the document the cycles open, if any.
    std::function<QString(frmMain&, const QString& folder)> prepare;
    std::function<void(frmMain&, const QString& document)> run;
};

std::ostream& operator<<(std::ostream& out, const Cycle& c) { return out << c.name; }

class TemporaryFilesPerCycle : public TemporaryFiles, public ::testing::WithParamInterface<Cycle> {};

// While the program runs the folder holds the files of what shows and no more; once the window is closed and
// the program ends, nothing of it is left.
TEST_P(TemporaryFilesPerCycle, StayBoundedWhileTheProgramRunsAndGoWhenItEnds) {
    const QString document = GetParam().prepare ? GetParam().prepare(*window, documents.path()) : QString();
    // Whatever asks whether to save is told no.
    ScriptedMessageBox boxes;
    for (int i = 0; i < 10; ++i) boxes.Answer(MessageBox::No);

    GetParam().run(*window, document);
    const QStringList afterFirst = left();
    ASSERT_FALSE(afterFirst.isEmpty());
    for (int cycle = 2; cycle <= 5; ++cycle) GetParam().run(*window, document);
    EXPECT_EQ(left().size(), afterFirst.size()) << "after one cycle: " << afterFirst.join(", ").toStdString()
                                                << "\nafter five: " << left().join(", ").toStdString();

    // The user closes the window; the program-wide objects go as the process ends.
    MainWindowFixture::StopProgram();
    EXPECT_EQ(left(), QStringList());
}

void pressSpace(frmMain& window, const QString& = QString()) {
    window.Bars().ExecuteCommand(CommandIds::CreateNewColors);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, TemporaryFilesPerCycle,
    ::testing::Values(
        Cycle{"New", nullptr,
              [](frmMain& window, const QString&) { window.Bars().ExecuteCommand(CommandIds::FileNew); }},
        Cycle{"Open", saveDocument,
              [](frmMain& window, const QString& document) {
                  ScriptedFileDialog dialogs({document});
                  window.Bars().ExecuteCommand(CommandIds::FileOpen);
              }},
        // The rebuilt row keeps a clone of the fixed proofer's colour; the proofers' colours themselves stay in
        // the list of generated colours.
        Cycle{"ProoferCount",
              [](frmMain& window, const QString&) {
                  window.cpList[1]->SetFixed(true);
                  return QString();
              },
              [](frmMain& window, const QString&) {
                  window.SetProoferCount(8, true);
                  window.SetProoferCount(3, true);
              }},
        Cycle{"NewColors", nullptr, pressSpace},
        // Each step back shows an older colour of the list of generated colours, which keeps the one it hides.
        Cycle{"Paging",
              [](frmMain& window, const QString&) {
                  for (int i = 0; i < 3; ++i) pressSpace(window);
                  return QString();
              },
              [](frmMain& window, const QString&) { window.Bars().ExecuteCommand(CommandIds::PreviousColors); }},
        // Colours kept into a strip, handed to the pie and taken out of the strip again: the pie holds them on.
        Cycle{"StripAndPie", nullptr,
              [](frmMain& window, const QString&) {
                  pressSpace(window);
                  window.history_KeepAll(0);
                  ColorHistory& strip = *window.history[0];
                  std::vector<std::shared_ptr<Color>> kept;
                  for (int i = 0; i < strip.PanelCount(); ++i) kept.push_back(strip.Panel(i)->PanelColor());
                  for (const auto& color : kept) {
                      window.ctlMatch->AddColor(color);
                      strip.RemoveColorPanel(color);
                  }
              }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

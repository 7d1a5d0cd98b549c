#include "app/MainHelpers.h"
#include "app/MainHelpersHost.h"
#include "model/Globals.h"
#include "model/Color.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/KeyBindings.h"
#include "platform/RibbonBar.h"
#include "services/CommandIds.h"
#include "support/ChooserHostState.h"
#include "support/ModelGlobals.h"
#include "support/TopColorControls.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"
#include "model/Factory.h"
#include "model/Texture.h"
#include "platform/RuntimeError.h"
#include "support/ModelPrinters.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <vector>

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class StoreTextureFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pictures.isValid());
        picture = pictures.path() + "/sea.jpg";
        write(picture, "sea pixels");
    }

    QStringList filesOf(const QTemporaryDir& dir) const { return QDir(dir.path()).entryList(QDir::Files); }

    QTemporaryDir pictures;
    QString picture;
};

// The second write finds the texture stored, so it copies the first copy under the same name.
TEST_F(StoreTextureFile, WritingTwiceIntoFreshFoldersKeepsTheFlattenedName) {
    const auto texture = Factory::NewTexture(0, "sea", picture, TextureKind::Image, false, false);
    const QString flat = QString(picture).remove(':').remove('/');

    QTemporaryDir first;
    MainHelpers::StoreTextureFile(texture, first.path() + "/");
    EXPECT_EQ(texture->path(), flat);
    EXPECT_EQ(read(first.path() + "/" + flat), QByteArray("sea pixels"));
    // What the document writer does next: serialise, then point the texture at the copy.
    pugi::xml_document doc;
    ASSERT_TRUE(texture->Serialize(doc, doc.append_child("Color")));
    EXPECT_STREQ(doc.child("Color").child("Texture").attribute("path").value(), flat.toUtf8().constData());
    texture->SetPath(first.path() + "/" + texture->path());

    QTemporaryDir second;
    MainHelpers::StoreTextureFile(texture, second.path() + "/");
    EXPECT_EQ(texture->path(), flat);
    EXPECT_EQ(filesOf(second), QStringList{flat});
    EXPECT_EQ(read(second.path() + "/" + flat), QByteArray("sea pixels"));
}

TEST_F(StoreTextureFile, ReplacesAnExistingFileOfThatName) {
    const auto texture = Factory::NewTexture(0, "sea", picture, TextureKind::Image, false, false);
    QTemporaryDir folder;
    write(folder.path() + "/" + texture->UniquePath(), "old");
    MainHelpers::StoreTextureFile(texture, folder.path());
    EXPECT_EQ(read(folder.path() + "/" + texture->path()), QByteArray("sea pixels"));
}

TEST_F(StoreTextureFile, StoringTheCopyIntoItsOwnFolderKeepsIt) {
    QTemporaryDir folder;
    const QString copy = folder.path() + "/seacopy.jpg";
    write(copy, "kept");
    const auto texture = Factory::NewTexture(0, "sea", copy, TextureKind::Image, false, false);
    texture->SetInStorage(true);
    MainHelpers::StoreTextureFile(texture, folder.path() + "/");
    EXPECT_EQ(texture->path(), QStringLiteral("seacopy.jpg"));
    EXPECT_EQ(read(copy), QByteArray("kept"));
}

TEST_F(StoreTextureFile, LeavesOtherTexturesAlone) {
    QTemporaryDir folder;
    const auto plain = Factory::NewTexture(1, "  No Texture", "", TextureKind::None, true, false);
    const auto pattern = Factory::NewTexture(2, "dots", picture, TextureKind::Pattern, false, false);
    const auto emptyImage = Factory::NewTexture(0, "none", "", TextureKind::Image, false, false);
    for (const auto& t : {plain, pattern, emptyImage}) {
        const QString before = t->path();
        MainHelpers::StoreTextureFile(t, folder.path());
        EXPECT_EQ(t->path(), before) << t->Name().toStdString();
    }
    EXPECT_TRUE(filesOf(folder).isEmpty());
}

TEST_F(StoreTextureFile, AFailedCopyReachesTheCallerAndKeepsThePath) {
    QTemporaryDir folder;
    const auto missing =
        Factory::NewTexture(0, "gone", pictures.path() + "/gone.jpg", TextureKind::Image, false, false);
    try {
        MainHelpers::StoreTextureFile(missing, folder.path());
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), RuntimeError::FileNotFound);
    }
    EXPECT_EQ(missing->path(), pictures.path() + "/gone.jpg");

    const auto texture = Factory::NewTexture(0, "sea", picture, TextureKind::Image, false, false);
    EXPECT_THROW(MainHelpers::StoreTextureFile(texture, folder.path() + "/no-such-folder"), RuntimeError);
    EXPECT_EQ(texture->path(), picture);
}

int32_t packed(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// The label over the top-colour swatch, for states the sliders and drops leave behind.
struct LabelCase {
    const char* name;
    int32_t range;
    std::array<int, 3> top;
    int32_t swatch;
    std::array<int, 3> sliders;
    const char* text;
    bool black;
};
std::ostream& operator<<(std::ostream& out, const LabelCase& c) { return out << c.name; }

class MainHelpersTopColorLabel : public ::testing::TestWithParam<LabelCase> {
protected:
    ModelGlobals globals;
    TopColorControls box;
};

TEST_P(MainHelpersTopColorLabel, WritesTextAndColourByTheRangeAndTheTopColour) {
    const LabelCase& c = GetParam();
    box.rangeType = c.range;
    const int maximum[3] = {c.range == CommandIds::RangeAllRGB ? 255 : 359,
                            c.range == CommandIds::RangeAllRGB ? 255 : 100,
                            c.range == CommandIds::RangeAllRGB ? 255 : 100};
    for (size_t i = 0; i < 3; ++i) {
        box.sliders[i]->setMaximum(maximum[i]);
        box.sliders[i]->setValue(c.sliders[i]);
    }
    Globals::TopColor->SetColor(c.top[0], c.top[1], c.top[2]);
    box.picColor->SetBackColor(c.swatch);

    MainHelpers::UpdateTopColorLabel(box.Host());

    EXPECT_EQ(box.label->text(), QString::fromLatin1(c.text));
    EXPECT_EQ(box.label->palette().color(QPalette::WindowText) == QColor(Qt::black), c.black);
    EXPECT_EQ(box.label->font().pointSize(), 8);
}

INSTANTIATE_TEST_SUITE_P(States, MainHelpersTopColorLabel,
                         ::testing::Values(LabelCase{"RgbWhiteSwatchReadsAllColors",
                                                     CommandIds::RangeAllRGB,
                                                     {255, 255, 255},
                                                     0xFFFFFF,
                                                     {255, 255, 255},
                                                     "All Colors",
                                                     true},
                                           LabelCase{"RgbOtherSwatchShowsRgb",
                                                     CommandIds::RangeAllRGB,
                                                     {255, 255, 0},
                                                     packed(255, 255, 0),
                                                     {255, 255, 0},
                                                     "(255, 255, 0)",
                                                     true},
                                           LabelCase{"RgbRedIsWhiteText",
                                                     CommandIds::RangeAllRGB,
                                                     {255, 0, 0},
                                                     packed(255, 0, 0),
                                                     {255, 0, 0},
                                                     "(255, 0, 0)",
                                                     false},
                                           LabelCase{"HsbSlidersAtMaximumReadAllColors",
                                                     CommandIds::RangeAllHSB,
                                                     {255, 0, 4},
                                                     packed(255, 0, 4),
                                                     {359, 100, 100},
                                                     "All Colors",
                                                     false},
                                           LabelCase{"HsbOneSliderMovedShowsHsb",
                                                     CommandIds::RangeAllHSB,
                                                     {255, 255, 0},
                                                     packed(255, 255, 0),
                                                     {60, 100, 100},
                                                     "(60, 100, 100)",
                                                     true},
                                           LabelCase{"RedsAlwaysWhiteText",
                                                     CommandIds::RangeReds,
                                                     {255, 255, 255},
                                                     packed(255, 0, 0),
                                                     {0, 100, 100},
                                                     "(0, 0, 100)",
                                                     false},
                                           LabelCase{"BluesAlwaysWhiteText",
                                                     CommandIds::RangeBlues,
                                                     {255, 255, 0},
                                                     packed(0, 0, 255),
                                                     {240, 100, 100},
                                                     "(60, 100, 100)",
                                                     false},
                                           LabelCase{"GreensFollowTheChannels",
                                                     CommandIds::RangeGreens,
                                                     {255, 255, 255},
                                                     packed(0, 255, 0),
                                                     {120, 100, 100},
                                                     "(0, 0, 100)",
                                                     true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The ribbon built on a host without a window: its system menu, quick-access bar and keys, and the
// "Selection" tab it hands the tab's own host.
class MainHelpersRibbon : public ::testing::Test, protected ChooserHostState {
protected:
    void SetUp() override {
        selectedTexture = Globals::TextureItem(1);
        MainHelpers::BuildRibbon(host);
    }

    QWidget backBox;
    PictureBox* backSwatch = new PictureBox(&backBox);
    std::array<QSlider*, 3> backSliders{new QSlider(&backBox), new QSlider(&backBox), new QSlider(&backBox)};
    MainHelpersHost host{bars, MakeHost(), {}, {&backBox, *backSwatch, backSliders}};
};

TEST_F(MainHelpersRibbon, BuildsTheSystemMenuTheSelectionTabTheQuickAccessBarAndTheKeys) {
    RibbonBar* ribbon = bars.Ribbon();
    ASSERT_NE(ribbon, nullptr);
    ASSERT_NE(ribbon->SystemButton(), nullptr);
    EXPECT_EQ(ribbon->SystemButton()->IconId(), CommandIds::SystemButtonIcon);
    const CommandBarControls& menu = ribbon->SystemButton()->GetCommandBar()->Controls();
    std::vector<int> menuIds;
    for (int i = 0; i < menu.Count(); ++i) menuIds.push_back(menu.Item(i)->Id());
    std::vector<int> expected{CommandIds::FileNew, CommandIds::FileOpen, CommandIds::FileSave, CommandIds::FileSaveAs,
                              CommandIds::FilePrint};
    for (int slot = 0; slot < CommandIds::RecentFileSlotCount; ++slot)
        expected.push_back(CommandIds::FirstRecentFileSlot + slot);
    expected.push_back(CommandIds::AppExit);
    EXPECT_EQ(menuIds, expected);

    ASSERT_NE(ribbon->FindTab(CommandIds::SelectionTab), nullptr);
    EXPECT_EQ(ribbon->FindTab(CommandIds::SelectionTab)->Index(), 0);
    EXPECT_EQ(box.label->text(), QStringLiteral("All Colors")) << "the tab's range reaches the host's label";

    const CommandBarControls& quick = ribbon->QuickAccessControls();
    std::vector<int> quickIds;
    for (int i = 0; i < quick.Count(); ++i) quickIds.push_back(quick.Item(i)->Id());
    EXPECT_EQ(quickIds, (std::vector<int>{CommandIds::FileNew, CommandIds::FileOpen, CommandIds::FileSave,
                                          CommandIds::FilePrint, CommandIds::Help}));
    EXPECT_EQ(bars.GetKeyBindings().FindCommand(KeyBindings::Control, 'S'), CommandIds::FileSave);
}

}  // namespace

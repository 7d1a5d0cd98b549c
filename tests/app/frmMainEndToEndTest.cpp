#include "app/DocumentFixture.h"

#include "platform/CommandBar.h"
#include "platform/PictureBox.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonGroup.h"
#include "platform/RibbonTab.h"
#include "support/ControlDrop.h"
#include "support/ScriptedModalDialog.h"

#include <QLabel>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>

#include <array>
#include <functional>

namespace {

using namespace DocumentFixture;

// A colour as the user sees it: its value, its texture's kind and name and, for a picture texture, the picture.
struct Swatch {
    int32_t rgb = -1;
    int32_t kind = -1;
    QString texture;
    QImage picture;
    bool operator==(const Swatch&) const = default;
};

Swatch swatchOf(const std::shared_ptr<Color>& color) {
    Swatch swatch;
    if (!color)
        return swatch;
    swatch.rgb = color->RGBColor();
    if (const auto& texture = color->ColorTexture()) {
        swatch.kind = texture->TextureType();
        swatch.texture = texture->Name();
        if (swatch.kind == TextureKind::Image)
            swatch.picture = QImage(texture->path()).convertToFormat(QImage::Format_RGB32);
    }
    return swatch;
}

std::vector<Swatch> swatchesOf(const std::vector<std::shared_ptr<Color>>& colors) {
    std::vector<Swatch> swatches;
    for (const auto& color : colors) swatches.push_back(swatchOf(color));
    return swatches;
}

void PrintTo(const Swatch& swatch, std::ostream* out) {
    *out << "rgb " << swatch.rgb << " kind " << swatch.kind << " '" << swatch.texture.toStdString() << "'";
    if (!swatch.picture.isNull())
        *out << " picture " << swatch.picture.width() << " x " << swatch.picture.height();
}

std::array<int, 3> valuesOf(const std::array<QSlider*, 3>& sliders) {
    return {sliders[0]->value(), sliders[1]->value(), sliders[2]->value()};
}

// Everything a document holds, read from the window the way the user sees it.
struct Composition {
    std::vector<Swatch> proofers;
    std::vector<bool> fixed;
    int prooferBox = 0;
    int strips = 0;
    std::vector<bool> stripsShown;
    std::array<std::vector<Swatch>, 6> stripColors;
    std::array<QString, 6> notes;
    std::vector<Swatch> pie;
    int32_t pieBack = 0;
    std::array<int, 3> backSliders{};
    int32_t backSwatch = 0;
    QString backLabel;
    int32_t range = 0;
    bool userDefined = false;
    QString rangeCaption;
    std::array<int, 3> topSliders{};
    int32_t topColor = 0;
    int32_t topSwatch = 0;
    QString topLabel;
    QString texture;
    QImage stage;
    bool operator==(const Composition&) const = default;
};

QString rangeCaption(frmMain& window) {
    RibbonTab* tab = window.Bars().Ribbon()->FindTab(CommandIds::SelectionTab);
    RibbonGroup* group = tab ? tab->FindGroup(CommandIds::ColorRangeGroup) : nullptr;
    return group ? group->Caption() : QString();
}

Composition compositionOf(frmMain& window) {
    Composition c;
    for (const auto& proofer : window.cpList) {
        c.proofers.push_back(swatchOf(proofer->PanelColor()));
        c.fixed.push_back(proofer->Fixed());
    }
    c.prooferBox = dynamic_cast<CommandBarComboBox*>(window.Bars().FindControl(CommandIds::ProoferCount))->ListIndex();
    c.strips = window.NumberOfHistoryGroups;
    for (size_t i = 0; i < window.history.size(); ++i) {
        c.stripsShown.push_back(window.history[i]->isVisible());
        c.stripColors[i] = swatchesOf(stripColors(*window.history[i]));
        c.notes[i] = window.history[i]->Notes();
    }
    c.pie = swatchesOf(pieColors(*window.ctlMatch));
    c.pieBack = window.ctlMatch->BackColor();
    c.backSliders = valuesOf(window.sldBackColor);
    c.backSwatch = window.picBColor->BackColor();
    c.backLabel = window.lblMatchBackColor->text();
    c.range = window.m_RangeType;
    c.userDefined = window.m_IsUDC;
    c.rangeCaption = rangeCaption(window);
    c.topSliders = valuesOf(window.sldTopColor);
    c.topColor = Globals::TopColor->RGBColor();
    c.topSwatch = window.picColor->BackColor();
    c.topLabel = window.lblAllColors->text();
    c.texture = window.SelectedTexture ? window.SelectedTexture->Name() : QString();
    c.stage = window.ctlStage->ImageControl()->Picture().convertToFormat(QImage::Format_RGB32);
    return c;
}

// Names the first part that differs, so a failure says what did not come back.
void expectSame(const Composition& got, const Composition& want) {
    EXPECT_EQ(got.proofers, want.proofers);
    EXPECT_EQ(got.fixed, want.fixed);
    EXPECT_EQ(got.prooferBox, want.prooferBox);
    EXPECT_EQ(got.strips, want.strips);
    EXPECT_EQ(got.stripsShown, want.stripsShown);
    for (size_t i = 0; i < want.stripColors.size(); ++i) {
        EXPECT_EQ(got.stripColors[i], want.stripColors[i]) << "strip " << i;
        EXPECT_EQ(got.notes[i], want.notes[i]) << "notes of strip " << i;
    }
    EXPECT_EQ(got.pie, want.pie);
    EXPECT_EQ(got.pieBack, want.pieBack);
    EXPECT_EQ(got.backSliders, want.backSliders);
    EXPECT_EQ(got.backSwatch, want.backSwatch);
    EXPECT_EQ(got.backLabel, want.backLabel);
    EXPECT_EQ(got.range, want.range);
    EXPECT_EQ(got.userDefined, want.userDefined);
    EXPECT_EQ(got.rangeCaption, want.rangeCaption);
    EXPECT_EQ(got.topSliders, want.topSliders);
    EXPECT_EQ(got.topColor, want.topColor);
    EXPECT_EQ(got.topSwatch, want.topSwatch);
    EXPECT_EQ(got.topLabel, want.topLabel);
    EXPECT_EQ(got.texture, want.texture);
    EXPECT_TRUE(got.stage == want.stage) << "the stage picture differs";
}

frmMain* shownWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<frmMain*>(widget); found && found->isVisible())
            return found;
    return nullptr;
}

std::shared_ptr<Texture> firstPattern() {
    for (const auto& texture : Globals::Textures)
        if (texture && texture->TextureType() == TextureKind::Pattern)
            return texture;
    return nullptr;
}

// The program driven as a person drives it, across the pieces of the window.
class EndToEnd : public DocumentTest {
protected:
    // A slider moved by the user: a key on it, as the mouse's drag also reaches the slider as actions.
    static void moveTo(QSlider* slider, int value) {
        const auto key = [slider](Qt::Key k) {
            QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
            QApplication::sendEvent(slider, &press);
        };
        while (slider->value() < value) key(Qt::Key_Right);
        while (slider->value() > value) key(Qt::Key_Left);
    }

    // Writes the strip's notes in the notes dialog and closes it with "&OK".
    static void writeNotes(ColorHistory& strip, const QString& text) {
        ScriptedModalDialog dialog({[&](QDialog& d) {
            d.findChild<QPlainTextEdit*>()->setPlainText(text);
            ScriptedModalDialog::Click(d, QStringLiteral("&OK"));
        }});
        CommandBars* bars = strip.findChild<CommandBars*>(QStringLiteral("CommandBars"), Qt::FindDirectChildrenOnly);
        ASSERT_NE(bars, nullptr);
        for (int i = 0; i < bars->Count(); ++i)
            if (CommandBar* popup = bars->Item(i); popup->Name() == QStringLiteral("Popup")) {
                ASSERT_TRUE(popup->Owner()->ExecuteControl(popup->FindControl(CommandIds::Comments)));
                return;
            }
        FAIL() << "the strip has no popup";
    }

    void showStrips(int count) {
        window->NumberOfHistoryGroups = count;
        ChooserHelper::ShowHistoryGroups(count, window->chooserHost());
    }

    // Every kind of state a document keeps, none of it at its start value.
    void compose() {
        const QString picture = path("wall paper.png");
        ASSERT_TRUE(quarters(24, 18).save(picture));
        const QString stagePicture = path("stage source.png");
        ASSERT_TRUE(quarters(80, 60).save(stagePicture));
        const auto pattern = firstPattern();
        ASSERT_NE(pattern, nullptr);

        auto* count = dynamic_cast<CommandBarComboBox*>(Find(CommandIds::ProoferCount));
        ASSERT_NE(count, nullptr);
        count->SetListIndex(6);
        Execute(CommandIds::ProoferCount);
        ASSERT_EQ(window->cpList.size(), 6u);
        auto patterned = Factory::NewColor(pattern->Clone(), CommandIds::RangeAllRGB, false);
        patterned->SetColor(90, 10, 200);
        window->cpList[0]->SetColor(patterned);
        auto pictured =
            Factory::NewColor(Factory::NewTexture(77, "Wall paper", picture, TextureKind::Image, false, false),
                              CommandIds::RangeAllRGB, false);
        pictured->SetColor(12, 34, 56);
        window->cpList[1]->SetColor(pictured);
        window->cpList[2]->SetFixed(true);
        window->cpList[4]->SetFixed(true);

        showStrips(3);
        window->history[0]->AddColorPanels({plainColor(1, 2, 3), plainColor(200, 100, 50)});
        auto stripPicture =
            Factory::NewColor(Factory::NewTexture(78, "Strip picture", picture, TextureKind::Image, false, false),
                              CommandIds::RangeAllRGB, false);
        stripPicture->SetColor(5, 6, 7);
        window->history[1]->AddColorPanels({plainColor(255, 0, 0), stripPicture});
        window->history[2]->AddColorPanels({plainColor(0, 128, 255)});
        writeNotes(*window->history[0], QString::fromUtf8("warm\tcolours\nfor the hall"));
        writeNotes(*window->history[2], QString::fromUtf8("Grüße, 色, \u00e9t\u00e9\n\n\tend"));

        window->ShowWorkspace(CommandIds::ColorPieTab);
        window->ctlMatch->AddColor(plainColor(7, 77, 177));
        window->ctlMatch->AddColor(plainColor(250, 250, 0));
        moveTo(window->sldBackColor[0], 40);
        moveTo(window->sldBackColor[1], 60);
        moveTo(window->sldBackColor[2], 80);

        window->ShowWorkspace(CommandIds::SelectionTab);
        Execute(CommandIds::RangeAllHSB);
        // The user-defined flag comes on as a person turns it on: a proofer dropped on the top-colour swatch.
        emit window->cpList[5]->StartDragging();
        ASSERT_TRUE(ControlDrop::Drop(window->cpList[5].get(), window->picColor));
        moveTo(window->sldTopColor[0], 120);
        moveTo(window->sldTopColor[1], 50);
        moveTo(window->sldTopColor[2], 80);

        ChooserHelper::SelectTextureByName(Globals::TextureItem(3)->Name(), window->chooserHost());
        window->ShowWorkspace(CommandIds::StagingTab);
        ASSERT_TRUE(window->ctlStage->OpenPicture(stagePicture));
        window->ctlStage->Invert();
        window->ShowWorkspace(CommandIds::SelectionTab);
    }

    // The state a fresh document shows, as far as New resets it.
    void expectNewDocument() {
        EXPECT_EQ(window->m_RangeType, CommandIds::RangeAllRGB);
        EXPECT_FALSE(window->m_IsUDC);
        EXPECT_EQ(rangeCaption(*window), "Color Range - All Colors RGB");
        EXPECT_EQ(valuesOf(window->sldBackColor), (std::array<int, 3>{255, 255, 255}));
        EXPECT_EQ(window->ctlMatch->BackColor(), 0xFFFFFF);
        EXPECT_EQ(window->picBColor->BackColor(), 0xFFFFFF);
        EXPECT_EQ(window->lblMatchBackColor->text(), "(255, 255, 255)");
        EXPECT_EQ(window->ctlMatch->Colors()->count(), 0);
        for (const auto& strip : window->history) {
            EXPECT_EQ(strip->PanelCount(), 0);
            EXPECT_TRUE(strip->Notes().isEmpty());
        }
        EXPECT_EQ(window->SelectedTexture->Name(), Globals::TextureItem(1)->Name());
        EXPECT_EQ(statusText(*window), " Ready");
        EXPECT_TRUE(Globals::CurrentFile.isEmpty());
        EXPECT_FALSE(window->IsModified());
    }

    void newDocument() {
        ScriptedMessageBox boxes({MessageBox::No});
        Execute(CommandIds::FileNew);
    }
};

TEST_F(EndToEnd, EveryPieceOfACompositionComesBackByEachWayOfOpening) {
    compose();
    if (HasFatalFailure())
        return;
    const Composition composed = compositionOf(*window);
    ASSERT_EQ(composed.range, CommandIds::RangeAllHSB);
    ASSERT_TRUE(composed.userDefined);
    ASSERT_EQ(composed.topSliders, (std::array<int, 3>{120, 50, 80}));
    ASSERT_EQ(composed.backLabel, "(40, 60, 80)");
    ASSERT_TRUE(window->IsModified());

    const QString document = path("everything.tnd");
    saveAs(document);
    ASSERT_EQ(Globals::CurrentFile, document);
    EXPECT_EQ(statusText(*window), " everything.tnd");
    EXPECT_FALSE(window->IsModified()) << "a saved document is clean";
    expectSame(compositionOf(*window), composed);

    const struct {
        const char* way;
        std::function<void()> open;
    } ways[] = {
        {"the Open command", [&] { open(document); }},
        {"the first recent-file slot", [&] { Execute(CommandIds::FirstRecentFileSlot); }},
        {"the command line",
         [&] {
             StopProgram();
             MainModule::Main(document);
             window = shownWindow();
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        newDocument();
        expectNewDocument();
        ScriptedMessageBox boxes;
        way.open();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(boxes.Requests().empty());
        EXPECT_EQ(Globals::CurrentFile, document);
        EXPECT_EQ(statusText(*window), " everything.tnd");
        EXPECT_FALSE(window->IsModified());
        expectSame(compositionOf(*window), composed);
    }

    // Saved again twice from the opened document: each save's folder replaces the one the pictures came from.
    {
        SCOPED_TRACE("saved again");
        ScriptedMessageBox boxes;
        Execute(CommandIds::FileSave);
        Execute(CommandIds::FileSave);
        EXPECT_TRUE(boxes.Requests().empty());
        newDocument();
        open(document);
        expectSame(compositionOf(*window), composed);
    }
}

// A document named relative to the folder the program starts in is remembered by its full path: the recent
// list and the next Open must find it again from wherever the program starts next.
TEST_F(EndToEnd, ADocumentNamedRelativelyOnTheCommandLineIsRememberedByItsFullPath) {
    window->CreateNewColors();
    const auto colors = ProoferColors();
    window->WriteDocument(path("relative.tnd"));
    StopProgram();
    clearStoredSettings();

    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    MainModule::Main(QStringLiteral("relative.tnd"));
    window = shownWindow();
    ASSERT_TRUE(QDir::setCurrent(started));
    ASSERT_NE(window, nullptr);
    const QString full = QFileInfo(path("relative.tnd")).absoluteFilePath();
    EXPECT_EQ(Globals::CurrentFile, full);
    EXPECT_EQ(lastPath(), full);
    EXPECT_EQ(Find(CommandIds::FirstRecentFileSlot)->Parameter(), full);
    EXPECT_EQ(ProoferColors(), colors);

    newDocument();
    ScriptedMessageBox boxes;
    Execute(CommandIds::FirstRecentFileSlot);
    EXPECT_TRUE(boxes.Requests().empty()) << "found again from another folder";
    EXPECT_EQ(Globals::CurrentFile, full);
    EXPECT_EQ(ProoferColors(), colors);
}

TEST_F(EndToEnd, OpeningAnotherDocumentSavesTheChangedOneFirstWhenTheAnswerIsYes) {
    window->CreateNewColors();
    window->WriteDocument(path("second.tnd"));
    const auto second = ProoferColors();
    window->CreateNewColors();
    saveAs(path("first.tnd"));
    window->CreateNewColors();
    const auto changed = ProoferColors();
    ASSERT_TRUE(window->IsModified());

    {
        ScriptedMessageBox boxes({MessageBox::Yes});
        open(path("second.tnd"));
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].prompt, "Do you want to save the changes to first?");
    }
    EXPECT_EQ(Globals::CurrentFile, path("second.tnd"));
    EXPECT_EQ(ProoferColors(), second);
    EXPECT_TRUE(window->isEnabled());

    ScriptedMessageBox none;
    open(path("first.tnd"));
    EXPECT_TRUE(none.Requests().empty());
    EXPECT_EQ(ProoferColors(), changed) << "the changes were saved before the other document came";
}

// The range, the user-defined flag and the top colour as each kind of range leaves them.
TEST_F(EndToEnd, TheRangeAndTheTopColourComeBackUnderEachKindOfRange) {
    const struct {
        const char* name;
        int32_t range;
        bool dropColour;
        std::array<int, 3> moved;
    } cases[] = {
        {"all colours by RGB, untouched", CommandIds::RangeAllRGB, false, {-1, -1, -1}},
        {"all colours by RGB, sliders moved", CommandIds::RangeAllRGB, false, {10, 200, 30}},
        {"all colours by RGB with a dropped colour", CommandIds::RangeAllRGB, true, {-1, -1, 99}},
        {"greens, sliders moved", CommandIds::RangeGreens, false, {100, 40, 70}},
        {"greys, untouched", CommandIds::RangeGreys, false, {-1, -1, -1}},
        {"reds with a dropped colour", CommandIds::RangeReds, true, {-1, 20, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        newDocument();
        Execute(c.range);
        if (c.dropColour) {
            window->cpList[0]->PanelColor()->SetColor(200, 40, 10);
            emit window->cpList[0]->StartDragging();
            ASSERT_TRUE(ControlDrop::Drop(window->cpList[0].get(), window->picColor));
        }
        for (size_t i = 0; i < 3; ++i)
            if (c.moved[i] >= 0)
                moveTo(window->sldTopColor[i], c.moved[i]);
        const Composition before = compositionOf(*window);
        window->WriteDocument(path("range.tnd"));
        newDocument();
        window->ReadDocument(path("range.tnd"));
        const Composition after = compositionOf(*window);
        EXPECT_EQ(after.range, before.range);
        EXPECT_EQ(after.userDefined, before.userDefined);
        EXPECT_EQ(after.rangeCaption, before.rangeCaption);
        EXPECT_EQ(after.topSliders, before.topSliders);
        EXPECT_EQ(after.topColor, before.topColor);
        // A read runs the sliders' handler, so the swatch shows the top colour itself, also where the range's
        // own swatch colour stood before (the greys' grey).
        EXPECT_EQ(after.topSwatch, after.topColor);
        EXPECT_EQ(after.topLabel, before.topLabel);
    }
}

TEST_F(EndToEnd, ClosingAModifiedDocumentFollowsTheAnswerAndLeavesNoFolders) {
    const struct {
        const char* answer;
        int button;
        bool chooses;
        bool closes;
        bool written;
        bool unwritable = false;
    } cases[] = {
        {"Yes", MessageBox::Yes, true, true, true},
        {"Yes, then no file chosen", MessageBox::Yes, false, false, false},
        {"Yes, then a file that cannot be written", MessageBox::Yes, true, false, false, true},
        {"No", MessageBox::No, true, true, false},
        {"Cancel", MessageBox::Cancel, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        const QString chosen = path(QStringLiteral("closing %1.tnd").arg(c.answer));
        // A folder where the file should go: the save fails whoever runs the test.
        if (c.unwritable) {
            ASSERT_TRUE(QDir().mkpath(chosen));
        }
        // An untitled document that already has a folder of its own, changed since.
        window->WriteDocument(path("scratch.tnd"));
        ASSERT_TRUE(Globals::CurrentFile.isEmpty());
        window->CreateNewColors();
        window->m_IsOpeningJustAfterStartup = false;
        ASSERT_TRUE(window->IsModified());
        const auto colors = ProoferColors();
        const QString iconFolder = Globals::IconTempFolder;

        ScriptedMessageBox boxes({c.button});
        ScriptedFileDialog dialogs({c.chooses ? chosen : QString()});
        const QPointer<frmMain> closing = window;
        EXPECT_EQ(window->close(), c.closes);
        ASSERT_FALSE(closing.isNull());
        ASSERT_EQ(boxes.Requests().size(), c.unwritable ? 2u : 1u);
        EXPECT_EQ(boxes.Requests()[0].prompt, "Do you want to save this file?");
        if (c.unwritable) {
            EXPECT_EQ(boxes.Requests()[1].prompt, "Error saving file to disk.");
        }
        EXPECT_EQ(QFileInfo(chosen).isFile(), c.written);
        const QString folder = window->DocumentFolder;
        ASSERT_FALSE(folder.isEmpty());
        EXPECT_EQ(QDir(folder).exists(), !c.closes) << folder.toStdString();
        if (!iconFolder.isEmpty()) {
            EXPECT_EQ(QDir(iconFolder).exists(), !c.closes) << iconFolder.toStdString();
        }
        if (!c.closes) {
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(window->IsModified());
            EXPECT_EQ(ProoferColors(), colors);
            EXPECT_TRUE(window->isEnabled());
        }

        StopProgram();
        window = StartProgram();
        ASSERT_NE(window, nullptr);
        if (c.written) {
            window->ReadDocument(chosen);
            EXPECT_EQ(ProoferColors(), colors) << "the closing save kept the document";
        }
    }
}

TEST_F(EndToEnd, AStripColourDroppedOnThePieAndTheStageIsKeptInTheDocument) {
    // A JPEG texture: the stage shows its decoded picture and the document must keep exactly that.
    const QString jpeg = path("photo.jpg");
    ASSERT_TRUE(quarters(50, 40).save(jpeg, "JPEG"));
    const QImage decoded = QImage(jpeg).convertToFormat(QImage::Format_RGB32);
    auto photo = Factory::NewColor(Factory::NewTexture(81, "Photo", jpeg, TextureKind::Image, false, false),
                                   CommandIds::RangeAllRGB, false);
    photo->SetColor(30, 60, 90);

    const struct {
        const char* name;
        std::shared_ptr<Color> color;
        std::function<void(const QImage&)> expectStage;
    } cases[] = {
        {"a plain colour", plainColor(200, 30, 90),
         [](const QImage& stage) { EXPECT_EQ(stage.pixel(3, 3) & 0xFFFFFF, 0xC81E5Au) << "filled with the colour"; }},
        {"a colour with a JPEG picture", photo, [&](const QImage& stage) { EXPECT_TRUE(stage == decoded); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        newDocument();
        showStrips(2);
        window->history[1]->AddColorPanels({plainColor(20, 140, 60), c.color});
        QWidget* panel = window->history[1]->Panel(1);
        const QPointF at = QPointF(panel->rect().center());
        QMouseEvent press(QEvent::MouseButtonPress, at, panel->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(panel, &press);
        ASSERT_EQ(window->history[1]->SelectedPanel(), window->history[1]->Panel(1));

        window->ShowWorkspace(CommandIds::ColorPieTab);
        emit window->history[1]->StartDragging();
        ASSERT_TRUE(ControlDrop::Drop(window->history[1].get(), window->ctlMatch.get()));
        window->ShowWorkspace(CommandIds::StagingTab);
        emit window->history[1]->StartDragging();
        ASSERT_TRUE(ControlDrop::Drop(window->history[1].get(), window->ctlStage.get()));
        window->ShowWorkspace(CommandIds::SelectionTab);

        const auto pie = swatchesOf(pieColors(*window->ctlMatch));
        ASSERT_EQ(pie.size(), 1u);
        EXPECT_EQ(pie[0], swatchOf(c.color));
        const QImage stage = window->ctlStage->ImageControl()->Picture().convertToFormat(QImage::Format_RGB32);
        c.expectStage(stage);
        EXPECT_TRUE(window->IsModified());

        const QString document = path("dropped.tnd");
        QFile::remove(document);
        saveAs(document);
        // The pie holds the strip's colour itself: a second save finds its picture where the first put it.
        {
            ScriptedMessageBox boxes;
            Execute(CommandIds::FileSave);
            EXPECT_TRUE(boxes.Requests().empty());
        }
        newDocument();
        ASSERT_TRUE(pieColors(*window->ctlMatch).empty());
        open(document);
        EXPECT_EQ(swatchesOf(pieColors(*window->ctlMatch)), pie);
        EXPECT_TRUE(window->ctlStage->ImageControl()->Picture().convertToFormat(QImage::Format_RGB32) == stage);
        EXPECT_FALSE(window->IsModified());
    }
}

}  // namespace

#include "app/frmMain.h"

#include "app/ChooserHelper.h"
#include "app/DocumentCheck.h"
#include "app/DocumentRollback.h"
#include "app/MRUManager.h"
#include "app/MainHelpers.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/AtomicFile.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBars.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Numeric.h"
#include "platform/RegularFile.h"
#include "platform/RuntimeError.h"
#include "services/DocumentArchive.h"
#include "services/FileShared.h"
#include "services/Hourglass.h"
#include "services/SpecialFolders.h"
#include "services/XMLShared.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QSlider>

#include <pugixml.hpp>

namespace {

const char* const Template =
    "<Root Proofers='0' Holders='0' CurrentTexture='0'><Main/><Holders/><History/><Match/></Root>";
const QString DocumentFilter = QStringLiteral("Tindral File (*.tnd)|*.tnd;");
const QString DefXml = QStringLiteral("def.xml");
const QString StagePng = QStringLiteral("stage.png");

// The runtime's number of whatever was raised, for the title of the error message.
int32_t errorNumberOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& e) {
        return e.Number();
    } catch (...) {
        return RuntimeError::PathFileAccessError;
    }
}

[[noreturn]] void raisePieceFailed(const QString& piece) {
    Err::Raise(RuntimeError::PathFileAccessError, App::EXEName() + QStringLiteral(".WriteDocument"),
               QStringLiteral("Writing %1 failed.").arg(piece));
}

void reportError(const QString& text, int32_t number) {
    MessageBox::Show(text, MessageBox::OKOnly | MessageBox::Exclamation, QStringLiteral("Error: %1").arg(number));
}

// A fresh, empty document folder, ending with "/".
QString makeDocumentFolder() {
    const QString folder = FileShared::GetTempFilePath();
    if (!QDir().mkpath(folder))
        Err::Raise(RuntimeError::PathFileAccessError);
    return FileShared::AddBackslash(folder);
}

void removeFolder(const QString& folder) {
    if (!folder.isEmpty())
        QDir(folder).removeRecursively();
}

FileDialog::Request documentDialog(FileDialog::Mode mode, int flags, QWidget* parent) {
    FileDialog::Request request;
    request.mode = mode;
    request.filter = DocumentFilter;
    request.flags = flags;
    request.fileName = FileShared::GetLastPath(QStringLiteral("*.tnd"));
    // Used when the remembered document's folder is gone; after it the box falls back to the home folder.
    request.initDir = SpecialFolders::MyDocumentsFolder();
    request.parent = parent;
    return request;
}

// Stores an image texture's file in the folder under its unique name; afterwards the texture points at
// that copy.
class TextureCopy {
public:
    TextureCopy(std::shared_ptr<Texture> texture, const QString& folder)
        : m_texture(std::move(texture)), m_folder(folder) {
        MainHelpers::StoreTextureFile(m_texture, m_folder);
    }
    void pointIntoFolder() const {
        if (m_texture && m_texture->TextureType() == TextureKind::Image)
            m_texture->SetPath(m_folder + m_texture->path());
    }

private:
    std::shared_ptr<Texture> m_texture;
    QString m_folder;
};

}  // namespace

void frmMain::ReportReadError(const std::exception_ptr& error) {
    reportError(QStringLiteral("Error loading the file from disk."), errorNumberOf(error));
}

void frmMain::WriteDocument(const QString& path) {
    // Each piece's writer clears its modified flags and points picture textures into the new folder as it goes;
    // a write that fails anywhere puts all of that back and leaves no folder behind, so the document, its file
    // and the window are exactly as they were.
    const DocumentRollback before(cpList, history, *ctlMatch, *ctlStage);
    const QString folder = makeDocumentFolder();
    try {
        WriteDocumentFiles(path, folder);
    } catch (...) {
        before.Restore();
        removeFolder(folder);
        throw;
    }
    const QString oldFolder = DocumentFolder;
    DocumentFolder = folder;
    removeFolder(oldFolder);
    MRU->Add(FileShared::GetFileName(path), path);
}

void frmMain::WriteDocumentFiles(const QString& path, const QString& folder) {
    pugi::xml_document doc;
    doc.load_string(Template);
    pugi::xml_node root = doc.document_element();
    pugi::xml_attribute attribute = root.first_attribute();
    attribute.set_value(QString::number(cpList.size()).toUtf8().constData());
    attribute = attribute.next_attribute();
    attribute.set_value(QString::number(NumberOfHistoryGroups).toUtf8().constData());
    attribute = attribute.next_attribute();
    attribute.set_value(SelectedTexture ? SelectedTexture->Name().toUtf8().constData() : "");

    pugi::xml_node main = doc.select_node("//Root/Main").node();
    XMLShared::AddAttribute(doc, main, QStringLiteral("rangetype"), QString::number(m_RangeType));
    XMLShared::AddAttribute(doc, main, QStringLiteral("isudc"), m_IsUDC ? QStringLiteral("1") : QStringLiteral("0"));
    XMLShared::AddAttribute(doc, main, QStringLiteral("topred"), QString::number(sldTopColor[0]->value()));
    XMLShared::AddAttribute(doc, main, QStringLiteral("topgreen"), QString::number(sldTopColor[1]->value()));
    XMLShared::AddAttribute(doc, main, QStringLiteral("topblue"), QString::number(sldTopColor[2]->value()));

    pugi::xml_node holders = doc.select_node("//Root/Holders").node();
    for (const auto& proofer : cpList) {
        const std::shared_ptr<Color> color = proofer->PanelColor();
        const TextureCopy copy(color ? color->ColorTexture() : nullptr, folder);
        if (!proofer->Serialize(doc, holders))
            raisePieceFailed(QStringLiteral("a proofer"));
        copy.pointIntoFolder();
    }

    pugi::xml_node historyElement = doc.select_node("//Root/History").node();
    for (size_t i = 0; i < history.size(); ++i)
        if (!history[i]->Serialize(doc, historyElement, static_cast<int32_t>(i), folder))
            raisePieceFailed(QStringLiteral("colour scheme %1").arg(i + 1));

    // The pie's colours keep their pictures beside the others, or a later save would name files of a
    // folder that is gone.
    std::vector<TextureCopy> pieCopies;
    if (const auto& colors = ctlMatch->Colors())
        for (const auto& color : *colors)
            if (color && color->ColorTexture() && color->ColorTexture()->TextureType() == TextureKind::Image)
                pieCopies.emplace_back(color->ColorTexture(), folder);
    if (!ctlMatch->Serialize(doc, doc.select_node("//Root/Match").node()))
        raisePieceFailed(QStringLiteral("the colour pie"));
    for (const TextureCopy& copy : pieCopies) copy.pointIntoFolder();

    // The folder's files are checked as they are written; only the archive, which holds them all, is forced
    // to the disk before it takes the document's name.
    AtomicFile::WriteWhole(folder + DefXml, XMLShared::ToBytes(doc), AtomicFile::Durability::Scratch);
    if (!ctlStage->SaveStage(folder + StagePng))
        raisePieceFailed(StagePng);

    DocumentArchive::Pack(folder, path);
}

void frmMain::ReadDocument(const QString& path) {
    // The document is unpacked and checked in a folder of its own first: one that fails changes nothing.
    if (!RegularFile::IsRegular(path))
        Err::Raise(RuntimeError::FileNotFound);
    const QString folder = makeDocumentFolder();
    DocumentCheck::CheckedDocument checked;
    try {
        DocumentArchive::Unpack(path, folder);
        checked = DocumentCheck::Verify(folder);
    } catch (...) {
        removeFolder(folder);
        throw;
    }
    const pugi::xml_document& doc = checked.definition;
    const QString oldFolder = DocumentFolder;
    DocumentFolder = folder;

    // The check decoded the picture in full; the stage takes it as it is.
    if (!checked.stage.isNull()) {
        ctlStage->OpenDecodedPicture(folder + StagePng, checked.stage);
        ctlStage->SetInternalPicture(true);
        // From here only the stage holds the picture, also when it made a copy without transparency.
        checked.stage = QImage();
    } else {
        ctlStage->Clear();
    }

    const pugi::xml_node root = doc.document_element();
    const pugi::xml_attribute proofersAttribute = root.first_attribute();
    const pugi::xml_attribute holdersAttribute = proofersAttribute.next_attribute();
    const int32_t proofers = Numeric::ToLong(QString::fromUtf8(proofersAttribute.value()));
    if (const pugi::xml_attribute texture = holdersAttribute.next_attribute())
        ChooserHelper::SelectTextureByName(QString::fromUtf8(texture.value()), chooserHost());
    if (auto* box = dynamic_cast<CommandBarComboBox*>(Bars().FindControl(CommandIds::ProoferCount)))
        box->SetListIndex(proofers);
    NumberOfHistoryGroups = Numeric::ToLong(QString::fromUtf8(holdersAttribute.value()));
    ChooserHelper::ShowHistoryGroups(NumberOfHistoryGroups, chooserHost());

    const pugi::xpath_node_set colorNodes = doc.select_nodes("//Root/Holders/Panel/Color");
    const pugi::xpath_node_set panelNodes = doc.select_nodes("//Root/Holders/Panel");
    SetProoferCount(proofers, false);
    for (size_t i = 0; i < static_cast<size_t>(proofers) && i < cpList.size(); ++i) {
        if (i >= colorNodes.size() || i >= panelNodes.size())
            break;
        auto color = std::make_shared<Color>();
        if (!color->DeSerialize(colorNodes[i].node(), DocumentFolder))
            continue;
        cpList[i]->SetColor(color);
        cpList[i]->DeSerialize(this, panelNodes[i].node());
    }

    const pugi::xml_node historyElement = doc.select_node("//Root/History").node();
    for (size_t i = 0; i < history.size(); ++i) {
        const std::string query = "History[@id='" + std::to_string(i) + "']";
        const pugi::xml_node element =
            historyElement ? historyElement.select_node(query.c_str()).node() : pugi::xml_node();
        history[i]->DeSerialize(element, DocumentFolder);
        // A strip the document does not hold is emptied, just as the document has it.
        if (!element)
            history[i]->MarkClean();
    }

    ReadMatch(doc);

    if (const pugi::xml_node main = doc.select_node("//Root/Main").node()) {
        const bool udc = std::string_view(main.attribute("isudc").value()) == "1";
        CommandBarControl* userDefined = Bars().FindControl(CommandIds::UserDefinedColors);
        CommandBar* typeBar = userDefined ? userDefined->Parent() : nullptr;
        ChooserHelper::SetColorRange(XMLShared::AttributeLong(main, "rangetype"), typeBar, chooserHost());
        if (udc)
            ChooserHelper::SetColorRange(CommandIds::UserDefinedColors, typeBar, chooserHost());
        const char* const names[] = {"topred", "topgreen", "topblue"};
        for (size_t i = 0; i < sldTopColor.size(); ++i) {
            const QSignalBlocker quiet(sldTopColor[i]);
            sldTopColor[i]->setValue(XMLShared::AttributeLong(main, names[i]));
        }
        sldTopColor_Change(0);
    }

    removeFolder(oldFolder);
    MRU->Add(FileShared::GetFileName(path), path);
    Form_Resize();
}

void frmMain::FileNew() {
    if (IsModified() && PromptSaveChanges() == MessageBox::Cancel)
        return;
    try {
        Globals::CurrentFile.clear();
        ChooserHelper::SelectTextureByName(Globals::TextureItem(1)->Name(), chooserHost());
        for (const auto& strip : history) strip->Clear();
        for (const auto& proofer : cpList) proofer->Clear();
        ctlMatch->Clear();
        SetBackColorSliders(255, 255, 255);
        ctlStage->Clear();
        CommandBarControl* allColors = Bars().FindControl(CommandIds::RangeAllRGB);
        ChooserHelper::SetColorRange(CommandIds::RangeAllRGB, allColors ? allColors->Parent() : nullptr, chooserHost());
        CreateNewColors();
        ShowWorkspace(CommandIds::SelectionTab);
        MarkDocumentUntouched();
    } catch (...) {
        // New reports nothing: what it did before the error stays done.
    }
    SetUIStatus(true);
    UpdateAppCaption();
}

bool frmMain::FileOpen() {
    if (IsModified() && PromptSaveChanges() == MessageBox::Cancel)
        return false;
    const FileDialog::Result chosen = FileDialog::Show(
        documentDialog(FileDialog::Mode::Open, FileDialog::FileMustExist | FileDialog::HideReadOnly, this));
    if (!chosen.accepted) {
        SetUIStatus(true);
        return false;
    }
    bool opened = false;
    std::exception_ptr error;
    try {
        Hourglass hourglass;
        SetUIStatus(false);
        // A refused document leaves the user in the workspace they were in.
        ReadDocument(chosen.fileName);
        ShowWorkspace(CommandIds::SelectionTab);
        opened = true;
        Globals::CurrentFile = chosen.fileName;
        FileShared::SaveLastPath(Globals::CurrentFile);
        m_IsOpeningJustAfterStartup = false;
    } catch (...) {
        error = std::current_exception();
    }
    SetUIStatus(true);
    UpdateAppCaption();
    if (error)
        ReportReadError(error);
    return opened;
}

bool frmMain::FileSave() {
    Hourglass hourglass;
    std::exception_ptr error;
    try {
        if (!IsUntitled()) {
            WriteDocument(Globals::CurrentFile);
            // A saved document is no longer the untouched one of start-up or New.
            m_IsOpeningJustAfterStartup = false;
        }
    } catch (...) {
        error = std::current_exception();
    }
    UpdateAppCaption();
    if (error) {
        reportError(QStringLiteral("Error saving file to disk."), errorNumberOf(error));
        return false;
    }
    return true;
}

bool frmMain::FileSaveAs() {
    Hourglass hourglass;
    const FileDialog::Result chosen =
        FileDialog::Show(documentDialog(FileDialog::Mode::Save, FileDialog::OverwritePrompt, this));
    if (!chosen.accepted)
        return false;
    bool saved = false;
    std::exception_ptr error;
    try {
        WriteDocument(chosen.fileName);
        Globals::CurrentFile = chosen.fileName;
        m_IsOpeningJustAfterStartup = false;
        saved = true;
    } catch (...) {
        error = std::current_exception();
    }
    UpdateAppCaption();
    if (error)
        reportError(QStringLiteral("Error saving file to disk."), errorNumberOf(error));
    return saved;
}

bool frmMain::OpenDocumentFromCommandLine(const QString& commandLine) {
    if (commandLine.isEmpty() || !FileShared::FileExists(commandLine))
        return false;
    // A name relative to the folder the program started in means nothing to the recent list or the next start.
    const QString path = QFileInfo(commandLine).absoluteFilePath();
    // A document that cannot be read leaves the program untitled, with one message.
    try {
        Hourglass hourglass;
        ReadDocument(path);
    } catch (...) {
        ReportReadError(std::current_exception());
        return false;
    }
    Globals::CurrentFile = path;
    FileShared::SaveLastPath(Globals::CurrentFile);
    m_IsOpeningJustAfterStartup = false;
    UpdateAppCaption();
    return true;
}

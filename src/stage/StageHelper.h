#pragma once

#include "platform/FontInfo.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

class CommandBarControl;
class CommandBars;
class CommandBarGalleryItems;
class RibbonBar;
class Stage;

// What the "Staging" tab works on: the window's ribbon, its stage and the picture the gallery marks.
struct StageHost {
    RibbonBar& ribbon;
    Stage& stage;
    int32_t& selectedPictureIndex;
};

// The "Staging" ribbon tab: its builders, the handler of its commands and of the stage popup's transforms,
// the text font of the stage, and the states the window's Update handler shows.
namespace StageHelper {

// Inserts the tab at index 1 with its groups "&Images", "&Control Toolbox", "&Drawing Toolbox", "&Font".
void BuildStagingTab(StageHost& host);
void BuildImagesGroup(StageHost& host);
void BuildToolboxGroups(StageHost& host);
void BuildFontGroup(StageHost& host);

// Carries out one command by the control's id; errors end the command quietly.
void ExecuteStageCommand(CommandBarControl* control, StageHost& host);
// The transforms the stage's popup hands over (rotate, flips, invert) and grey; false for any other id.
bool ExecuteTransformCommand(int32_t id, Stage& stage);

// The stage's text font, the same object every time.
std::shared_ptr<FontInfo> CurrentFont();
// Shows or hides the "&Font" group (group 3 of tab 1).
void ShowFontGroup(bool visible, StageHost& host);

// Lists the folder's picture files into the item set: items now, thumbnails from the event loop, in order.
// Ids come from a counter that is never reset; the listing stops after id 500. The thumbnails' work lives
// with the command bars that own the item set.
void FillPictureGallery(const QString& folder, CommandBarGalleryItems& items, CommandBars& bars);
bool IsPictureFile(const QString& name);
// The thumbnail size of a picture of this size: 50 on a side that crosses 50, unchanged when both are
// below 50 (the aspect ratio is not kept).
QSize ThumbnailSize(const QSize& picture);
// The next gallery id (tests).
int32_t GalleryCounter();

// The Update state of a "Staging" control: the marked tool, the checked line width, the checked picture
// and the font styles. Other controls are left alone.
void UpdateStageControl(CommandBarControl* control, const Stage& stage, int32_t selectedPictureIndex);

}  // namespace StageHelper

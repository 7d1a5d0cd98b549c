#pragma once

#include <cstdint>

// Every command id of the program in one place: the ribbon, the system menu, the quick-access bar, the key
// bindings and the popups of the views. Builders, handlers and tests use these names, never the numbers.
// Ids are shared between places on purpose where a popup item and a ribbon item do the same thing.
namespace CommandIds {

// An inclusive range of ids handed to one handler.
struct Range {
    int32_t first;
    int32_t last;
    constexpr bool Contains(int32_t id) const { return id >= first && id <= last; }
};

// Sent by the command bars themselves.
inline constexpr int32_t SystemButtonIcon = 1200;
inline constexpr int32_t TabSelected = 9604;
inline constexpr int32_t SelectedTabQuery = 9607;

// Document commands of the system menu, the quick-access bar and the key bindings.
inline constexpr int32_t Help = 4000;
inline constexpr int32_t FileNew = 4008;
inline constexpr int32_t FileOpen = 4009;
inline constexpr int32_t FileSave = 4010;
inline constexpr int32_t FilePrint = 4011;
inline constexpr int32_t FileSaveAs = 57604;
inline constexpr int32_t AppExit = 57665;

// Recent files: the range the dispatcher hands to the recent-file rule, and the six slots that exist.
inline constexpr Range RecentFileCommands{57616, 57622};
inline constexpr int32_t FirstRecentFileSlot = 57617;
inline constexpr int RecentFileSlotCount = 6;

// Panes of the status bar beside the text pane 0.
inline constexpr int32_t CapsLockPane = 59137;
inline constexpr int32_t NumLockPane = 59138;

// Workspaces: the ids of the three ribbon tabs, which are also the ids of the workspaces they show.
inline constexpr int32_t SelectionTab = 15000;
inline constexpr int32_t StagingTab = 50000;
inline constexpr int32_t ColorPieTab = 15007;

// The "Selection" tab and the "&Color Schemes" group that the "Color Pie" tab repeats.
inline constexpr Range SelectionCommands{15000, 15999};
inline constexpr int32_t CreateColorsGroup = 15001;
inline constexpr int32_t PreviousColors = 15002;
inline constexpr int32_t CreateNewColors = 15003;
inline constexpr int32_t NextColors = 15004;
inline constexpr int32_t KeepAll = 15005;
inline constexpr int32_t ProoferCount = 15006;
inline constexpr int32_t TexturesGroup = 15100;
inline constexpr int32_t TexturesGallery = 15101;
inline constexpr int32_t TexturesMenu = 15102;
inline constexpr int32_t SchemesGroup = 15300;
inline constexpr int32_t SchemesGallery = 15301;
inline constexpr int32_t SchemesItems = 15302;
inline constexpr int32_t ColorRangeGroup = 15400;
inline constexpr int32_t TopColorBox = 15401;
inline constexpr int32_t RangeTypePopup = 15402;

// Colour ranges; the same numbers are the items of the "&Type" popup. UserDefinedColors is no range.
inline constexpr int32_t RangeAllRGB = 15410;
inline constexpr int32_t RangeAllHSB = 15411;
inline constexpr int32_t RangeReds = 15412;
inline constexpr int32_t RangeGreens = 15413;
inline constexpr int32_t RangeBlues = 15414;
inline constexpr int32_t RangeYellows = 15415;
inline constexpr int32_t RangeMagentas = 15416;
inline constexpr int32_t RangeCyans = 15417;
inline constexpr int32_t RangeGreys = 15418;
inline constexpr int32_t UserDefinedColors = 15419;

// The "Staging" tab, the stage's popup and the font group.
inline constexpr Range StagingCommands{50000, 59999};
inline constexpr Range FontStyleCommands{7608, 7611};
inline constexpr Range FontChoiceCommands{7617, 7620};
inline constexpr int32_t ImagesGroup = 51000;
inline constexpr int32_t PicturesGallery = 51001;
inline constexpr int32_t ImageFilePopup = 51002;
inline constexpr int32_t OpenPicture = 51003;
inline constexpr int32_t SavePictureAs = 51005;
inline constexpr int32_t StageUndo = 51007;
inline constexpr int32_t ToolboxGroup = 51100;
inline constexpr int32_t ZoomIn = 51101;
inline constexpr int32_t ZoomOut = 51102;
inline constexpr int32_t OriginalSize = 51103;
inline constexpr int32_t Rotate90 = 51104;
inline constexpr int32_t FlipHorizontal = 51105;
inline constexpr int32_t FlipVertical = 51106;
inline constexpr int32_t InvertColors = 51107;
inline constexpr int32_t ClearStage = 51108;
inline constexpr int32_t ToBlackAndWhite = 51109;
inline constexpr int32_t ToolLines = 51200;
inline constexpr int32_t ToolRectangles = 51201;
inline constexpr int32_t ToolEllipses = 51202;
inline constexpr int32_t ToolText = 51203;
inline constexpr int32_t ToolFilledRectangles = 51204;
inline constexpr int32_t ToolFilledEllipses = 51205;
inline constexpr int32_t ToolFlood = 51206;
inline constexpr int32_t LineWidth = 51300;
inline constexpr int32_t StageRestorePicture = 51301;
inline constexpr int32_t FontGroup = 5002;
inline constexpr int32_t FontBold = 7608;
inline constexpr int32_t FontItalic = 7610;
inline constexpr int32_t FontUnderline = 7611;
inline constexpr int32_t FontName = 7618;
inline constexpr int32_t FontSize = 7619;
inline constexpr int32_t FontStrikethrough = 7620;

// The "Color Pie" tab's own group and box, and the pie's popup.
inline constexpr int32_t BackgroundGroup = 40003;
inline constexpr int32_t BackgroundBox = 40003;
inline constexpr int32_t PieRemoveAllColors = 40004;
inline constexpr int32_t PieRemoveBackground = 40005;
inline constexpr int32_t PieCopyImage = 40006;
inline constexpr int32_t PieRemoveColor = 40007;

// Popups shared by the swatch, the strip and the stage.
inline constexpr int32_t Paste = 4001;
inline constexpr int32_t CopyImage = 4003;
inline constexpr int32_t DeleteColor = 4004;
inline constexpr int32_t CopyRGB = 30000;
inline constexpr int32_t CopyHSB = 30001;
inline constexpr int32_t CopyHTML = 30002;
inline constexpr int32_t FixIt = 30003;
inline constexpr int32_t LoadImage = 30004;
inline constexpr int32_t RemoveImage = 30005;
inline constexpr int32_t KeepIt = 30006;
inline constexpr int32_t AdjustColor = 40000;
inline constexpr int32_t Adjust = 40001;
inline constexpr int32_t DeleteAllColors = 60000;  // "D&elete All" on a strip item, "&Clear Color Scheme" on a strip
inline constexpr int32_t Comments = 60001;
inline constexpr int32_t AddAll = 60002;
inline constexpr int32_t AddBlackAndWhite = 60003;

// The "&Sort Colors by..." popup; an item's id minus SortColorsByRGBSum is its sort key.
inline constexpr int32_t SortColorsBy = 61001;
inline constexpr int32_t SortColorsByRGBSum = 61002;
inline constexpr int32_t SortColorsByRed = 61003;
inline constexpr int32_t SortColorsByGreen = 61004;
inline constexpr int32_t SortColorsByBlue = 61005;
inline constexpr int32_t SortColorsByHSBSum = 61006;
inline constexpr int32_t SortColorsByHue = 61007;
inline constexpr int32_t SortColorsBySaturation = 61008;
inline constexpr int32_t SortColorsByBrightness = 61009;
inline constexpr Range SortCommands{61001, 61009};

}  // namespace CommandIds

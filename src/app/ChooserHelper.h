#pragma once

#include <QString>

#include <cstdint>

class CommandBar;
class CommandBarControl;
class RibbonBar;
struct ChooserHost;

// The "Selection" ribbon tab: its builders and the handler of its commands (CommandIds::SelectionCommands).
namespace ChooserHelper {

void BuildSelectionTab(RibbonBar& ribbon, const ChooserHost& host);
void BuildTexturesGroup(RibbonBar& ribbon, const ChooserHost& host);
// The "&Color Schemes" group on the tab with that id.
void BuildSchemesGroup(RibbonBar& ribbon, const ChooserHost& host, int32_t tabId);
void BuildColorRangeGroup(RibbonBar& ribbon, const ChooserHost& host);

void ExecuteChooserCommand(CommandBarControl* control, const ChooserHost& host);

// Shows strips 0..n-1, hides the others, and lays the window out again.
void ShowHistoryGroups(int32_t n, const ChooserHost& host);
// Selects the texture whose caption matches, blanks trimmed and case ignored; no match changes nothing.
void SelectTextureByName(const QString& name, const ChooserHost& host);
// Applies a range command CommandIds::RangeAllRGB..UserDefinedColors: the popup's check mark, the range and the
// user-defined flag, the top-colour sliders, swatch and label, and the caption of the "Color &Range" group. typeBar is
// the "&Type" popup's bar.
void SetColorRange(int32_t rangeId, CommandBar* typeBar, const ChooserHost& host);

}  // namespace ChooserHelper

#pragma once

#include <QString>

#include <cstdint>

class CommandBar;
class CommandBarControl;
class RibbonBar;
class frmMain;

// The "Selection" ribbon tab: its builders and the handler of its commands (CommandIds::SelectionCommands).
namespace ChooserHelper {

void BuildSelectionTab(RibbonBar& ribbon, frmMain& frm);
void BuildTexturesGroup(RibbonBar& ribbon, frmMain& frm);
// The "&Color Schemes" group on the tab with that index.
void BuildSchemesGroup(RibbonBar& ribbon, frmMain& frm, int tabIndex);
void BuildColorRangeGroup(RibbonBar& ribbon, frmMain& frm);

void ExecuteChooserCommand(CommandBarControl* control, frmMain& frm);

// Shows strips 0..n-1, hides the others, and lays the window out again.
void ShowHistoryGroups(int32_t n, frmMain& frm);
// Selects the texture whose caption matches, blanks trimmed and case ignored; no match changes nothing.
void SelectTextureByName(const QString& name, frmMain& frm);
// Applies a range command CommandIds::RangeAllRGB..UserDefinedColors: the popup's check mark, the range and the
// user-defined flag, the top-colour sliders, swatch and label, and the caption of the "Color &Range" group. typeBar is
// the "&Type" popup's bar.
void SetColorRange(int32_t rangeId, CommandBar* typeBar, frmMain& frm);

}  // namespace ChooserHelper

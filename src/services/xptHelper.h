#pragma once

#include <QString>

class CommandBar;
class CommandBarControls;

// The operations done over and over on command bars: set a control's caption, checked or enabled state by id,
// enable a set of controls, and add the colour-sort popup.
namespace xptHelper {

// Each changes the first control with the id found on the bar; without one (or without a bar) nothing changes.
void SetControlCaption(CommandBar* bar, int id, const QString& caption);
void SetControlChecked(CommandBar* bar, int id, bool checked);
void SetControlEnabled(CommandBar* bar, int id, bool enabled);

void SetControlsEnabled(bool enabled, CommandBarControls& controls);

// Appends the popup "&Sort Colors by..." (CommandIds::SortCommands) with its eight sort buttons to the bar; a separator
// stands before "Sum HSB".
void AddSortMenu(CommandBar* bar, bool beginGroup);

}  // namespace xptHelper

#pragma once

#include "app/ChooserHost.h"
#include "app/MatchHelperTab.h"

class CommandBars;

// What the ribbon builders work on: the window's command bars and the hosts of the tab modules they call.
// The "Staging" and "Color Pie" tabs' hosts join here as those modules arrive.
struct MainHelpersHost {
    CommandBars& Bars;
    ChooserHost Chooser;
    MatchHelperHost Match;
};

#pragma once

#include "app/ChooserHost.h"
#include "app/MatchHelperTab.h"
#include "stage/StageHelper.h"

#include <functional>

class CommandBars;

// What the ribbon builders work on: the window's command bars and the hosts of the tab modules they call
// ("Selection", "Staging" and "Color Pie").
struct MainHelpersHost {
    CommandBars& Bars;
    ChooserHost Chooser;
    // The "Staging" tab's host, asked for after the ribbon is made; a host without it builds no "Staging" tab.
    std::function<StageHost()> Staging;
    MatchHelperHost Match;
};

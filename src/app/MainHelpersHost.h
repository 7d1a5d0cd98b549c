#pragma once

#include "app/ChooserHost.h"
#include "app/MatchHelperTab.h"
#include "stage/StageHelper.h"

#include <functional>

class CommandBars;

// What the ribbon builders work on: the window's command bars and the hosts of the tab modules they call.
// The "Color Pie" tab's host joins here as that module arrives.
struct MainHelpersHost {
    CommandBars& Bars;
    ChooserHost Chooser;
    // The "Staging" tab's host, asked for once the ribbon exists; without it the tab is not built.
    std::function<StageHost()> Staging;
    MatchHelperHost Match;
};

#pragma once

#include "app/ChooserHost.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "support/ModelGlobals.h"
#include "support/TopColorControls.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// The window state a "Selection" tab host refers to, without a window: command bars, the top-colour box,
// the proofers and strips (owned by `owner`) and the flags the tab writes.
struct ChooserHostState {
    ChooserHost MakeHost(
        std::function<void()> createNewColors = [] {},
        std::function<void(int, bool)> setProoferCount = [](int, bool) {},
        std::function<void()> refreshLayout = [] {}) {
        return ChooserHost{bars,
                           images,
                           cpList,
                           &box.picLimits,
                           box.Host(),
                           isUDC,
                           selectedTexture,
                           historyGroups,
                           openingJustAfterStartup,
                           std::move(createNewColors),
                           std::move(setProoferCount),
                           std::move(refreshLayout),
                           history};
    }

    ModelGlobals globals;
    QWidget owner;
    CommandBars bars{nullptr};
    TopColorControls box;
    std::shared_ptr<CommandBarImageManager> images;
    std::vector<std::unique_ptr<ColorPanel>> cpList;
    std::array<std::unique_ptr<ColorHistory>, 6> history;
    bool isUDC = false;
    std::shared_ptr<Texture> selectedTexture;
    int32_t historyGroups = 1;
    bool openingJustAfterStartup = true;
};

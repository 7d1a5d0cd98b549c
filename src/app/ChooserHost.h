#pragma once

#include "app/TopColorHost.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class ColorHistory;
class ColorPanel;
class CommandBarImageManager;
class CommandBars;
class QWidget;
class Texture;

// What the "Selection" tab works on: the window state and controls it reads and writes, and the window's
// operations its commands run. The main window fills one with references to its own members
// (frmMain::ChooserHost()); a test fills one without a window.
struct ChooserHost {
    CommandBars& Bars;
    std::shared_ptr<CommandBarImageManager>& ImageManagerGalleryTextures;
    std::vector<std::unique_ptr<ColorPanel>>& cpList;
    QWidget* picLimits;
    TopColorHost TopColor;
    bool& m_IsUDC;
    std::shared_ptr<Texture>& SelectedTexture;
    int32_t& NumberOfHistoryGroups;
    bool& m_IsOpeningJustAfterStartup;

    std::function<void()> CreateNewColors;
    std::function<void(int count, bool keepFixed)> SetProoferCount;
    std::function<void()> RefreshLayout;

    // The six colour-scheme strips.
    std::array<std::unique_ptr<ColorHistory>, 6>& history;
};

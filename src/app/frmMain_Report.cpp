#include "app/frmMain.h"

#include "app/PrinterHelpers.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

ReportHost frmMain::reportHost() const {
    ReportHost host;
    host.owner = const_cast<frmMain*>(this);
    for (const auto& proofer : cpList)
        host.proofers.push_back(ReportColor{proofer->PanelColor(), proofer->PictureColor()});
    for (size_t i = 0; i < history.size(); ++i) {
        const ColorHistory& strip = *history[i];
        if (strip.isHidden())
            continue;
        ReportScheme scheme;
        scheme.index = static_cast<int32_t>(i);
        scheme.notes = strip.Notes();
        for (int32_t j = 0; j < strip.PanelCount(); ++j)
            if (const ColorPanel* panel = strip.Panel(j))
                scheme.colors.push_back(ReportColor{panel->PanelColor(), panel->PictureColor()});
        host.schemes.push_back(std::move(scheme));
    }
    return host;
}

void frmMain::PrintReport() { PrinterHelpers::PrintColorReport(reportHost()); }

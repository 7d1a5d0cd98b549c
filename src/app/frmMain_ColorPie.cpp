#include "app/frmMain.h"

#include "views/ColorMatch.h"

#include <pugixml.hpp>

void frmMain::ReadMatch(const pugi::xml_document& document) {
    ctlMatch->DeSerialize(this, document.select_node("//Root/Match").node(), DocumentFolder);
}

void frmMain::SetBackColorSliders(int, int, int) {}

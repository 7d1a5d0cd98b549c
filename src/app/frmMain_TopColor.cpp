#include "app/frmMain.h"

void frmMain::sldTopColor_Change(int) {}

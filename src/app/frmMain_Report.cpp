#include "app/frmMain.h"

void frmMain::PrintReport() {}

#include "FrmMain.h"

void FrmMain::mnuRegist_Click(int) {}

void FrmMain::mnuVersion_Click() {}

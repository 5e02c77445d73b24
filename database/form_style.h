#pragma once

class QWidget;

// Gives a window of the suite the system icon (INI "Iconos"/"IconoDelSistema",
// else "velgora.ico"), adjusts it to the screen and sets the workstation's
// toolbar style (StyleBar = gFlatToolbars) on its toolbars UtilVel1, TBarRep1
// and Util0011. The frame window (type frmMDI) gets only the icon. Every step
// that fails is skipped.
void AplicaIconoYEstilo(QWidget *window);

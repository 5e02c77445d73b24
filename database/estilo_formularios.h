#pragma once

#include <QIcon>

class QWidget;

// The system icon: the program's resource named by INI "Iconos"/"IconoDelSistema",
// ICONVELGORA (the program's own) without the key; null when there is none.
QIcon IconoDelSistema();

// Gives a window of the suite the system icon (the program's resource named by
// INI "Iconos"/"IconoDelSistema", ICONVELGORA without the key, the program's
// own; else "velgora.ico"), adjusts it to the screen and sets the workstation's
// toolbar style (StyleBar = gFlatToolbars) on its toolbars UtilVel1, TBarRep1
// and Util0011. The frame window (type frmMDI) gets only the icon. Every step
// that fails is skipped.
void AplicaIconoYEstilo(QWidget *window);

#include "lookup/lib_frm_cons3.h"

// The list lookup's search, filters, keys and quantities.

std::int32_t Lib_FrmCons3::Busqueda(std::int32_t Clave, const QString &QueValor)
{
    (void)Clave;
    (void)QueValor;
    return 0;
}

void Lib_FrmCons3::CmbSearch_GotFocus(int Index) { (void)Index; }

void Lib_FrmCons3::CmbSearch_LostFocus(int Index) { (void)Index; }

void Lib_FrmCons3::CmbSearch_Change(int Index) { (void)Index; }

void Lib_FrmCons3::CmbSearch_Click(int Index) { (void)Index; }

void Lib_FrmCons3::CmbSearch_KeyDown(int Index, int &KeyCode, int Shift)
{
    (void)Index;
    (void)KeyCode;
    (void)Shift;
}

void Lib_FrmCons3::CmdNueva_Click() {}

void Lib_FrmCons3::ListView1_ColumnClick(int position) { (void)position; }

void Lib_FrmCons3::ListView1_KeyDown(int &KeyCode, int Shift)
{
    (void)KeyCode;
    (void)Shift;
}

void Lib_FrmCons3::Form_KeyDown(int &KeyCode, int Shift)
{
    (void)KeyCode;
    (void)Shift;
}

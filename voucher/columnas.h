#pragma once

// Column numbers of the four voucher entry grids. Row 0 of each grid holds
// the titles; a row is a line when its trimmed column 0 is not empty. Hidden
// columns (width 0) keep their texts and carry per-line data.
//
// Plain constants with no code: stock/, lots/ and posting/ read the article
// grid by these numbers. Two names stand in two grids (AuxEsExento,
// AuxTasaIVA), so each grid has a namespace of its own.

// Task grid (MSFlexGrid1): 2 rows and 16 columns as laid out.
namespace GrillaTareas {
constexpr int Filas = 2;
constexpr int Columnas = 16;
constexpr int ColTarea = 0;
constexpr int ColTareaDescripcion = 1;
constexpr int ColHoras = 2;
constexpr int ColValorHora = 3;
constexpr int ColTareaTotal = 4;
constexpr int AuxEsExento = 5;
constexpr int ImporteSinIVA = 6;
constexpr int AuxObservAdic = 7;
constexpr int AuxFechaInicio = 8;
constexpr int AuxFechaFin = 9;
constexpr int AuxIdTecnico = 10;
constexpr int CodigoOriginal = 11;
constexpr int AuxFechaREALInicio = 12;
constexpr int AuxFechaREALFin = 13;
constexpr int AuxCuentaContable = 14;
constexpr int AuxTasaIVA = 15;
} // namespace GrillaTareas

// Article grid (MSFlexGrid2): 2 rows and 92 columns as laid out.
namespace GrillaArticulos {
constexpr int Filas = 2;
constexpr int Columnas = 92;
constexpr int ColArticulo = 0;
constexpr int ColDescripcion = 1;
constexpr int ColLista = 2;
constexpr int ColEspesor = 3;
constexpr int ColAncho = 4;
constexpr int ColUnidad = 5;
constexpr int ColDeposito = 6;
constexpr int ColCantidad = 7;
constexpr int AuxCoeficiente = 8; // "Largo" in the timber layout
constexpr int ColUnidadEquiv = 9;
constexpr int ColCantidadEquiv = 10;
constexpr int ColPorcDto = 11;
constexpr int ColUnidadPrecio = 12;
constexpr int ColImporteUnidad = 13;
constexpr int ColImporte = 14;
constexpr int ColTotal = 15;
constexpr int AuxEsExento = 16;
constexpr int AuxPrecioSinIVA = 17;
constexpr int ColTotalLinea = 18;
constexpr int AuxPideSerie = 19;
constexpr int AuxPidelote = 20;
constexpr int ColNroLote = 21;  // pipe list of lots (or lot keys)
constexpr int ColNroSerie = 22; // pipe list of serials (or quantities)
constexpr int AuxRestoPorAplicar = 23;
constexpr int AuxTipoArticulo = 24;
constexpr int AuxRubroArticulo = 25;
constexpr int AuxListaConIVA = 26;
constexpr int AuxPrecioConIVA = 27;
constexpr int AuxCantidadInsumo = 28;
constexpr int AuxImporteDescuentoArticulo = 29;
constexpr int AuxTipoCoeficiente = 30;
constexpr int AuxStockDisponible = 31;
constexpr int AuxStockMinimo = 32;
constexpr int AuxTasaIVA = 33;
constexpr int AuxCpteOrigen = 34;
constexpr int AuxIdCpteOrigen = 35;
constexpr int Lote_Origen = 36;
constexpr int Lote_Aduana = 37;
constexpr int ColAux38 = 38; // cost
constexpr int ColAux39 = 39;
constexpr int ColImpuestos = 40;
constexpr int ColAux41 = 41; // base unit
constexpr int ColAux42 = 42;
constexpr int ColAux43 = 43;
constexpr int ColAux44 = 44;
constexpr int ColAux45 = 45;
constexpr int Auxesperecedero = 46;
constexpr int ColAux47 = 47;
constexpr int ColAux48 = 48;
constexpr int ColAux49 = 49;
constexpr int ColAux50 = 50;
constexpr int ColAux51 = 51;
constexpr int ColAux52 = 52;
constexpr int ColAux53 = 53;
constexpr int ColAux54 = 54;
constexpr int ColAux55 = 55;
constexpr int ColAux56 = 56;
constexpr int ColAux57 = 57;
constexpr int ColAux58 = 58;
constexpr int ColAux59 = 59; // article type name
constexpr int ColAux60 = 60; // presentation
constexpr int AuxPideTalle = 61;
constexpr int ColCantidadM3 = 62; // quantity in the m3 unit
constexpr int ColCantidadBL = 63; // quantity in the BL unit
constexpr int ColCantidadKG = 64; // quantity in the kg unit
constexpr int ColAux65 = 65;
constexpr int ColAux66 = 66;
constexpr int ColAux67 = 67; // unit as stored
constexpr int Aux_InsumosPorPorcentaje = 68;
constexpr int ColAux69 = 69; // origin voucher id
constexpr int ColAux70 = 70;
constexpr int ColAux71 = 71;
constexpr int ColAux72 = 72;
constexpr int ColAux73 = 73;
constexpr int ColAux74 = 74;
constexpr int ColAux75 = 75; // supplier's article code
constexpr int ColAux76 = 76; // weighed article
constexpr int ColAux77 = 77; // bar code
constexpr int ColAux78 = 78;
constexpr int ColAux79 = 79; // list price
constexpr int ColAux80 = 80;
constexpr int ColAux81 = 81;
constexpr int ColAux82 = 82;
constexpr int PideMedidas = 83;
constexpr int LargoAnt = 84;
constexpr int ColAux85 = 85;
constexpr int MotivoStock = 86;
constexpr int ControladoPor = 87;
constexpr int EnComodato = 88;
constexpr int MKBaseFamilia = 89;
constexpr int CodError = 90;
constexpr int AuxCodigoPercepcion = 91;
} // namespace GrillaArticulos

// Other-concept grid (MSFlexGrid3): 2 rows and 6 columns as laid out.
namespace GrillaOtrosConceptos {
constexpr int Filas = 2;
constexpr int Columnas = 6;
constexpr int ColDetalle = 0;
constexpr int ColImporteSinIva = 1;
constexpr int ColImporteConcepto = 2;
constexpr int ColCuenta = 3;
constexpr int ColConceptoAux4 = 4;
constexpr int ColConceptoAux5 = 5;
} // namespace GrillaOtrosConceptos

// Item-totals grid (MSFlexGrid4): 5 rows and 3 columns as laid out.
namespace GrillaTotales {
constexpr int Filas = 5;
constexpr int Columnas = 3;
constexpr int ColTotDescripcion = 0;
constexpr int ColTotItems = 1;
constexpr int ColTotCantidad = 2;
} // namespace GrillaTotales

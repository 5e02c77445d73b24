-- The suite's tables and views that this tool and its library read and write.
-- SQL Server DDL; the embedded engine runs the same text through its dialect.
-- Codes are right-aligned fixed-width texts ("  RM"); voucher ids are 13
-- characters (branch 4, number 8, letter 1).

-- Vouchers (sales side) -------------------------------------------------------

CREATE TABLE dbo.V_MV_CPTE (
    TC varchar(4) NOT NULL,
    IDCOMPROBANTE varchar(13) NOT NULL,
    IdComplemento int NOT NULL DEFAULT (0),
    SUCURSAL varchar(4) NULL,
    NUMERO varchar(8) NULL,
    LETRA varchar(1) NULL,
    FECHA datetime NOT NULL,
    CUENTA varchar(10) NULL,
    RAZONSOCIAL varchar(60) NULL,
    IDDEPOSITO varchar(4) NULL,
    IDVENDEDOR varchar(4) NULL,
    IDCAJA varchar(4) NULL,
    UNEGOCIO varchar(4) NULL,
    TCORIGEN varchar(4) NULL,
    IDCOMPROBANTEORIGEN varchar(13) NULL,
    IMPORTE money NULL DEFAULT (0),
    IMPORTE_S_IVA money NULL DEFAULT (0),
    IVA money NULL DEFAULT (0),
    ANULADO bit NOT NULL DEFAULT (0),
    USUARIO varchar(20) NULL,
    FECHAHORA_GRABACION datetime NULL,
    FECHAHORA_MODIFICACION datetime NULL,
    -- What the voucher lookup lists and marks.
    NOMBRE varchar(60) NULL,
    ID int NULL,
    ANULADA bit NOT NULL DEFAULT (0),
    APROBADO bit NOT NULL DEFAULT (0),
    FINALIZADA bit NOT NULL DEFAULT (0),
    FechaPreparacion datetime NULL,
    COMENTARIOS varchar(100) NULL,
    -- What loading a voucher into the entry grids reads: the delivery marker
    -- (-1: delivered in parts), the loan flag (1: on loan) and the customer's
    -- VAT condition (a number) that gives the letter.
    IdReparto int NULL,
    EnComodato int NULL DEFAULT (0),
    CondicionIVA int NULL,
    -- The voucher this one derives from, as the related-voucher questions ask it.
    COMPROBANTEORIGEN varchar(13) NULL,
    COMPLEMENTOORIGEN int NULL,
    CONSTRAINT PK_V_MV_CPTE PRIMARY KEY (TC, IDCOMPROBANTE, IdComplemento)
);
CREATE INDEX IX_V_MV_CPTE_TC_FECHA ON V_MV_CPTE (TC, FECHA);
CREATE INDEX IX_V_MV_CPTE_ORIGEN ON V_MV_CPTE (TCORIGEN, IDCOMPROBANTEORIGEN);
CREATE INDEX IX_V_MV_CPTE_RELACIONADOS ON V_MV_CPTE (TCORIGEN, COMPROBANTEORIGEN, COMPLEMENTOORIGEN);

CREATE TABLE dbo.V_MV_CPTEINSUMOS (
    TC varchar(4) NOT NULL,
    IDCOMPROBANTE varchar(13) NOT NULL,
    IdComplemento int NOT NULL DEFAULT (0),
    RENGLON int NOT NULL,
    IDARTICULO varchar(25) NOT NULL,
    DESCRIPCION varchar(100) NULL,
    IDUNIDAD varchar(4) NULL,
    CANTIDAD float NOT NULL DEFAULT (0),
    CANTIDADUD float NULL,
    PRECIO money NULL DEFAULT (0),
    IMPORTE money NULL DEFAULT (0),
    DTOITEM float NULL DEFAULT (0),
    IVARI float NULL DEFAULT (0),
    Nro_Lote varchar(255) NULL,
    Nro_Serie varchar(255) NULL,
    IDDEPOSITO varchar(4) NULL,
    TC_ORIGEN varchar(4) NULL,
    IDCOMPROBANTE_ORIGEN varchar(13) NULL,
    ID_ORIGEN int NULL,
    -- The line as the entry grids load it (ID orders the lines; PALLETS orders
    -- those of an order, "NP").
    ID int NULL,
    IdUnidadBase varchar(4) NULL,
    Equiv_UDBase float NULL,
    Exento bit NULL DEFAULT (0),
    PorcDto float NULL DEFAULT (0),
    IDLista varchar(4) NULL,
    Presentacion varchar(60) NULL,
    Costo money NULL DEFAULT (0),
    Importe_S_IVA money NULL DEFAULT (0),
    Impuestos money NULL DEFAULT (0),
    Total money NULL DEFAULT (0),
    ControladoPor varchar(25) NULL,
    IdOrigen varchar(4) NULL,
    AlicIVA float NULL DEFAULT (0),
    Precio_Lista money NULL,
    CodigoArtProveedor varchar(25) NULL,
    PALLETS int NULL,
    -- Timber: thickness, width, the unit of the price and the price per unit.
    ESPESOR float NULL,
    Ancho float NULL,
    Ud_Pr varchar(4) NULL,
    Importe_Ud money NULL,
    CONSTRAINT PK_V_MV_CPTEINSUMOS PRIMARY KEY (TC, IDCOMPROBANTE, IdComplemento, RENGLON)
);
-- What later vouchers applied of a voucher's lines (VT_V_MV_INSUMOS_APLICACION).
CREATE INDEX IX_V_MV_CPTEINSUMOS_ORIGEN ON V_MV_CPTEINSUMOS (IDCOMPROBANTE_ORIGEN, IDARTICULO);

CREATE TABLE dbo.V_MV_CPTETAREAS (
    TC varchar(4) NOT NULL,
    IDCOMPROBANTE varchar(13) NOT NULL,
    IdComplemento int NOT NULL DEFAULT (0),
    RENGLON int NOT NULL,
    IDTAREA varchar(10) NOT NULL,
    DESCRIPCION varchar(100) NULL,
    IDTECNICO varchar(4) NULL,
    HORAS float NULL DEFAULT (0),
    IMPORTE money NULL DEFAULT (0),
    -- HORAS in minutes; the dates estimated and real.
    ID int NULL,
    ValorHora money NULL DEFAULT (0),
    valorHora_S_Iva money NULL DEFAULT (0),
    Total money NULL DEFAULT (0),
    descripcionadicional varchar(255) NULL,
    FechaEstInicio datetime NULL,
    FechaEstFin datetime NULL,
    FechaREALInicio datetime NULL,
    FechaREALFin datetime NULL,
    CONSTRAINT PK_V_MV_CPTETAREAS PRIMARY KEY (TC, IDCOMPROBANTE, IdComplemento, RENGLON)
);

CREATE TABLE dbo.V_MV_CPTE_OBSERV (
    TC varchar(4) NOT NULL,
    IDCOMPROBANTE varchar(13) NOT NULL,
    IdComplemento int NOT NULL DEFAULT (0),
    OBSERVACIONES varchar(1000) NULL,
    -- Several rows per voucher; TIPO_OBS 'OC' marks the other concepts (a
    -- text and its amount).
    ID int NOT NULL DEFAULT (1),
    Observacion varchar(200) NULL,
    Importe money NULL DEFAULT (0),
    Importe_S_IVA money NULL DEFAULT (0),
    TIPO_OBS varchar(2) NULL,
    CONSTRAINT PK_V_MV_CPTE_OBSERV PRIMARY KEY (TC, IDCOMPROBANTE, IdComplemento, ID)
);

CREATE TABLE dbo.V_MV_STOCK (
    TC varchar(4) NOT NULL,
    IdComprobante varchar(13) NOT NULL,
    IdComplemento int NOT NULL DEFAULT (0),
    Secuencia int NOT NULL,
    Fecha datetime NOT NULL,
    IdCaja varchar(4) NULL,
    IdDeposito varchar(4) NULL,
    IDDEPOSITO_DESTINO varchar(4) NULL,
    IdArticulo varchar(25) NOT NULL,
    Descripcion varchar(100) NULL,
    NroLote varchar(25) NULL,
    ControladoPor varchar(25) NULL,
    IdOrigen varchar(4) NULL,
    NroSerie varchar(25) NULL,
    IdUnidad varchar(4) NULL,
    Cantidad float NOT NULL DEFAULT (0),
    CantidadUD float NULL,
    IdUnidadBase varchar(4) NULL,
    CuentaProveedor varchar(10) NULL,
    IdMotivoStock varchar(4) NULL,
    PrecioVenta money NULL DEFAULT (0),
    Importe_S_Iva money NULL DEFAULT (0),
    Costo money NULL DEFAULT (0),
    Impuestos money NULL DEFAULT (0),
    DtoItem float NULL DEFAULT (0),
    Tc_Origen varchar(4) NULL,
    IdComprobante_Origen varchar(13) NULL,
    Id_Origen int NULL,
    IVARI float NULL DEFAULT (0),
    IVARNI float NULL DEFAULT (0),
    IdTecnico varchar(4) NULL,
    EQUIV_UDBASE float NULL DEFAULT (1),
    IDINSERT int NULL,
    IDCOMPULSA int NULL,
    Oferta int NULL DEFAULT (0),
    IdVendedor varchar(4) NULL,
    Importe_Ud money NULL DEFAULT (0),
    Ud_Pr varchar(4) NULL,
    EnComodato int NULL DEFAULT (0),
    CONSTRAINT PK_V_MV_STOCK PRIMARY KEY (TC, IdComprobante, IdComplemento, Secuencia)
);
CREATE INDEX IX_V_MV_STOCK_ARTICULO ON V_MV_STOCK (IdArticulo, IdDeposito);
-- A consumption voucher's number is used once, whatever the complement of the
-- voucher it consumes for.
CREATE UNIQUE INDEX UX_V_MV_STOCK_CONSUMO ON V_MV_STOCK (IdComprobante, Secuencia) WHERE TC = '  PE';

CREATE TABLE dbo.V_MV_CPTEACCIONES (
    TC varchar(4) NOT NULL,
    IDCOMPROBANTE varchar(13) NOT NULL,
    IdComplemento int NOT NULL DEFAULT (0),
    FECHAHORA datetime NULL,
    USUARIO varchar(20) NULL,
    ACCION varchar(100) NULL,
    Tipo_accion varchar(1) NULL,
    PC varchar(50) NULL,
    SYSTEMUSER varchar(50) NULL,
    NUMEROASIENTO int NULL
);
CREATE INDEX IX_V_MV_CPTEACCIONES ON V_MV_CPTEACCIONES (TC, IDCOMPROBANTE, IdComplemento);

CREATE TABLE dbo.V_MV_CPTETERCEROS (
    ID int NOT NULL,
    TC varchar(4) NULL,
    IDCOMPROBANTE varchar(13) NULL,
    IDCOMPLEMENTO int NULL,
    CUENTA varchar(10) NULL,
    FECHA datetime NULL,
    FECHAENVIADO datetime NULL,
    FECHARECIBIDO datetime NULL,
    CONSTRAINT PK_V_MV_CPTETERCEROS PRIMARY KEY (ID)
);

-- One row per voucher number marked used: the key refuses a second marking.
CREATE TABLE dbo.V_MV_CTROL_CPTE (
    TC varchar(4) NOT NULL,
    SUCURSAL varchar(4) NOT NULL,
    NUMERO varchar(8) NOT NULL,
    LETRA varchar(1) NOT NULL,
    CONSTRAINT PK_V_MV_CTROL_CPTE PRIMARY KEY (TC, SUCURSAL, NUMERO, LETRA)
);

CREATE TABLE dbo.V_MV_FALTANTES (
    FechaHora varchar(30) NULL,
    IdArticulo varchar(25) NULL,
    Descripcion varchar(100) NULL,
    Usuario varchar(20) NULL
);

CREATE TABLE dbo.V_MV_CargosAplicados (
    CUENTA varchar(10) NOT NULL,
    TC varchar(4) NULL,
    IDCOMPROBANTE varchar(13) NULL,
    SALDO money NULL DEFAULT (0)
);

-- Vouchers (purchase side) ----------------------------------------------------

CREATE TABLE dbo.C_MV_CPTE (
    TC varchar(4) NOT NULL,
    IDCOMPROBANTE varchar(13) NOT NULL,
    IdComplemento int NOT NULL DEFAULT (0),
    SUCURSAL varchar(4) NULL,
    NUMERO varchar(8) NULL,
    LETRA varchar(1) NULL,
    FECHA datetime NOT NULL,
    -- The supplier: one number may stand under two suppliers.
    CUENTA varchar(10) NOT NULL DEFAULT (''),
    RAZONSOCIAL varchar(60) NULL,
    IDDEPOSITO varchar(4) NULL,
    UNEGOCIO varchar(4) NULL,
    IMPORTE money NULL DEFAULT (0),
    USUARIO varchar(20) NULL,
    -- What the voucher lookup lists and marks.
    NOMBRE varchar(60) NULL,
    ID int NULL,
    ANULADA bit NOT NULL DEFAULT (0),
    APROBADO bit NOT NULL DEFAULT (0),
    FINALIZADO bit NOT NULL DEFAULT (0),
    Garantia bit NOT NULL DEFAULT (0),
    COMENTARIOS varchar(100) NULL,
    -- When the goods of a purchase order were received (stock posting of its invoice or remittance).
    FECHARECEPCION datetime NULL,
    -- As on the sales side.
    IdReparto int NULL,
    EnComodato int NULL DEFAULT (0),
    CondicionIVA int NULL,
    CONSTRAINT PK_C_MV_CPTE PRIMARY KEY (TC, IDCOMPROBANTE, CUENTA, IdComplemento)
);
CREATE INDEX IX_C_MV_CPTE_TC_FECHA ON C_MV_CPTE (TC, FECHA);

CREATE TABLE dbo.C_MV_CPTEINSUMOS (
    TC varchar(4) NOT NULL,
    IDCOMPROBANTE varchar(13) NOT NULL,
    CUENTA varchar(10) NOT NULL DEFAULT (''),
    IdComplemento int NOT NULL DEFAULT (0),
    RENGLON int NOT NULL,
    IDARTICULO varchar(25) NOT NULL,
    DESCRIPCION varchar(100) NULL,
    IDUNIDAD varchar(4) NULL,
    CANTIDAD float NOT NULL DEFAULT (0),
    CANTIDADUD float NULL,
    PRECIO money NULL DEFAULT (0),
    IMPORTE money NULL DEFAULT (0),
    Nro_Lote varchar(255) NULL,
    Nro_Serie varchar(255) NULL,
    -- The line as the entry grids load it (ID orders the lines; PALLETS orders
    -- those of an order, "NP").
    ID int NULL,
    IdUnidadBase varchar(4) NULL,
    Equiv_UDBase float NULL,
    Exento bit NULL DEFAULT (0),
    PorcDto float NULL DEFAULT (0),
    IDLista varchar(4) NULL,
    Presentacion varchar(60) NULL,
    Costo money NULL DEFAULT (0),
    Importe_S_IVA money NULL DEFAULT (0),
    Impuestos money NULL DEFAULT (0),
    Total money NULL DEFAULT (0),
    ControladoPor varchar(25) NULL,
    IdOrigen varchar(4) NULL,
    AlicIVA float NULL DEFAULT (0),
    Precio_Lista money NULL,
    CodigoArtProveedor varchar(25) NULL,
    PALLETS int NULL,
    -- Timber: thickness, width, the unit of the price and the price per unit.
    ESPESOR float NULL,
    Ancho float NULL,
    Ud_Pr varchar(4) NULL,
    Importe_Ud money NULL,
    CONSTRAINT PK_C_MV_CPTEINSUMOS PRIMARY KEY (TC, IDCOMPROBANTE, CUENTA, IdComplemento, RENGLON)
);

CREATE TABLE dbo.C_MV_CPTETAREAS (
    TC varchar(4) NOT NULL,
    IDCOMPROBANTE varchar(13) NOT NULL,
    CUENTA varchar(10) NOT NULL DEFAULT (''),
    IdComplemento int NOT NULL DEFAULT (0),
    RENGLON int NOT NULL,
    IDTAREA varchar(10) NOT NULL,
    DESCRIPCION varchar(100) NULL,
    IDTECNICO varchar(4) NULL,
    HORAS float NULL DEFAULT (0),
    IMPORTE money NULL DEFAULT (0),
    -- HORAS in minutes; the dates estimated and real.
    ID int NULL,
    ValorHora money NULL DEFAULT (0),
    valorHora_S_Iva money NULL DEFAULT (0),
    Total money NULL DEFAULT (0),
    descripcionadicional varchar(255) NULL,
    FechaEstInicio datetime NULL,
    FechaEstFin datetime NULL,
    FechaREALInicio datetime NULL,
    FechaREALFin datetime NULL,
    CONSTRAINT PK_C_MV_CPTETAREAS PRIMARY KEY (TC, IDCOMPROBANTE, CUENTA, IdComplemento, RENGLON)
);

CREATE TABLE dbo.C_MV_CPTE_OBSERV (
    TC varchar(4) NOT NULL,
    IDCOMPROBANTE varchar(13) NOT NULL,
    CUENTA varchar(10) NOT NULL DEFAULT (''),
    IdComplemento int NOT NULL DEFAULT (0),
    OBSERVACIONES varchar(1000) NULL,
    -- Several rows per voucher; TIPO_OBS 'OC' marks the other concepts (a
    -- text and its amount).
    ID int NOT NULL DEFAULT (1),
    Observacion varchar(200) NULL,
    Importe money NULL DEFAULT (0),
    Importe_S_IVA money NULL DEFAULT (0),
    TIPO_OBS varchar(2) NULL,
    CONSTRAINT PK_C_MV_CPTE_OBSERV PRIMARY KEY (TC, IDCOMPROBANTE, CUENTA, IdComplemento, ID)
);

-- Configuration, users ------------------------------------------------------

CREATE TABLE dbo.TA_CONFIGURACION (
    CLAVE varchar(50) NOT NULL,
    VALOR varchar(255) NULL,
    valoraux varchar(255) NULL,
    DESCRIPCION varchar(255) NULL,
    CONSTRAINT PK_TA_CONFIGURACION PRIMARY KEY (CLAVE)
);

CREATE TABLE dbo.ta_usuarios (
    nombre varchar(20) NOT NULL,
    NombreCompleto varchar(60) NULL,
    Administrador int NOT NULL DEFAULT (0),
    UNegocio varchar(4) NULL,
    CONSTRAINT PK_ta_usuarios PRIMARY KEY (nombre)
);

-- Print settings of a voucher type, one row per letter; CANTLINEAS 0 or NULL: no line limit.
CREATE TABLE dbo.TA_CONFIG_IMP_CPTE (
    ID int NOT NULL,
    TC varchar(4) NOT NULL,
    LETRA varchar(1) NOT NULL,
    CANTLINEAS int NULL,
    CONSTRAINT PK_TA_CONFIG_IMP_CPTE PRIMARY KEY (ID)
);
CREATE INDEX IX_TA_CONFIG_IMP_CPTE_TC_LETRA ON TA_CONFIG_IMP_CPTE (TC, LETRA);

-- Voucher types and numbering -------------------------------------------------

-- Numbering books: one row per voucher type, book and business unit, with
-- per-letter numbers (the next one to issue, the range, the branch) kept as
-- integers so that they compare by value.
CREATE TABLE dbo.V_TA_CPTE (
    CODIGO varchar(4) NOT NULL,
    TALONARIO int NOT NULL DEFAULT (1),
    UNEGOCIO varchar(4) NOT NULL DEFAULT ('   1'),
    DESCRIPCION varchar(60) NULL,
    Letras varchar(10) NULL,
    Modificanumeracion bit NULL DEFAULT (0),
    Externo bit NULL DEFAULT (0),
    Sistema varchar(20) NULL,
    -- "E" enters goods, "S" issues them; NULL or another value: the type's code decides.
    ES varchar(1) NULL,
    -- Sign in the VAT book; NULL: the type's code decides.
    SIGNO int NULL,
    A_ULTIMO_NRO int NULL DEFAULT (0), A_NRO_DESDE int NULL, A_NRO_HASTA int NULL,
    A_SUC_DEFAULT int NULL, VenceA datetime NULL,
    B_ULTIMO_NRO int NULL DEFAULT (0), B_NRO_DESDE int NULL, B_NRO_HASTA int NULL,
    B_SUC_DEFAULT int NULL, VenceB datetime NULL,
    C_ULTIMO_NRO int NULL DEFAULT (0), C_NRO_DESDE int NULL, C_NRO_HASTA int NULL,
    C_SUC_DEFAULT int NULL, VenceC datetime NULL,
    E_ULTIMO_NRO int NULL DEFAULT (0), E_NRO_DESDE int NULL, E_NRO_HASTA int NULL,
    E_SUC_DEFAULT int NULL, VenceE datetime NULL,
    R_ULTIMO_NRO int NULL DEFAULT (0), R_NRO_DESDE int NULL, R_NRO_HASTA int NULL,
    R_SUC_DEFAULT int NULL, VenceR datetime NULL,
    X_ULTIMO_NRO int NULL DEFAULT (0), X_NRO_DESDE int NULL, X_NRO_HASTA int NULL,
    X_SUC_DEFAULT int NULL, VenceX datetime NULL,
    M_ULTIMO_NRO int NULL DEFAULT (0), M_NRO_DESDE int NULL, M_NRO_HASTA int NULL,
    M_SUC_DEFAULT int NULL, VenceM datetime NULL,
    fechahora_modificacion datetime NULL,
    CONSTRAINT PK_V_TA_CPTE PRIMARY KEY (CODIGO, TALONARIO, UNEGOCIO)
);

CREATE TABLE dbo.TA_Comprobantes (
    CODIGO varchar(4) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    SISTEMA varchar(20) NOT NULL,
    TALONARIO int NOT NULL DEFAULT (1),
    A_ULTIMO_NRO int NULL DEFAULT (0), A_SUC_DEFAULT int NULL,
    B_ULTIMO_NRO int NULL DEFAULT (0), B_SUC_DEFAULT int NULL,
    C_ULTIMO_NRO int NULL DEFAULT (0), C_SUC_DEFAULT int NULL,
    E_ULTIMO_NRO int NULL DEFAULT (0), E_SUC_DEFAULT int NULL,
    R_ULTIMO_NRO int NULL DEFAULT (0), R_SUC_DEFAULT int NULL,
    X_ULTIMO_NRO int NULL DEFAULT (0), X_SUC_DEFAULT int NULL,
    M_ULTIMO_NRO int NULL DEFAULT (0), M_SUC_DEFAULT int NULL,
    fechahora_modificacion datetime NULL,
    CONSTRAINT PK_TA_Comprobantes PRIMARY KEY (CODIGO, SISTEMA, TALONARIO)
);

CREATE TABLE dbo.MV_VIAJES (
    TC varchar(4) NOT NULL,
    idcomprobante varchar(13) NOT NULL,
    FECHA datetime NULL,
    CONSTRAINT PK_MV_VIAJES PRIMARY KEY (TC, idcomprobante)
);

-- Accounting ------------------------------------------------------------------

CREATE TABLE dbo.MA_CUENTAS (
    CODIGO varchar(10) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    IMPUTABLE bit NOT NULL DEFAULT (1),
    CONSTRAINT PK_MA_CUENTAS PRIMARY KEY (CODIGO)
);

CREATE TABLE dbo.MV_ASIENTOS (
    TC varchar(4) NOT NULL,
    SUCURSAL varchar(4) NOT NULL,
    NUMERO varchar(8) NOT NULL,
    LETRA varchar(1) NOT NULL,
    CUENTA varchar(10) NULL,
    MES_OPERATIVO int NULL,
    PERIODO int NULL,
    TIPO_REG varchar(4) NULL,
    [NUMERO ASIENTO] int NULL,
    FECHA datetime NULL,
    IMPORTE money NULL DEFAULT (0),
    [DEBE-HABER] varchar(1) NULL,
    CCOSTO varchar(4) NULL,
    DETALLE varchar(100) NULL,
    SECUENCIA int NOT NULL,
    -- What a stock movement's entry writes besides.
    FechaSubDiario datetime NULL,
    FechaHora_Grabacion datetime NULL,
    USUARIO_LOGEADO varchar(20) NULL,
    Moneda varchar(4) NULL,
    Cotizacion float NULL,
    CABImporte money NULL,
    CABCuenta varchar(10) NULL,
    CABNombre varchar(10) NULL,
    Unegocio varchar(4) NULL,
    IdCajas varchar(4) NULL,
    TC_ORIGEN varchar(4) NULL,
    CPTE_ORIGEN varchar(13) NULL,
    CONSTRAINT PK_MV_ASIENTOS PRIMARY KEY (TC, SUCURSAL, NUMERO, LETRA, SECUENCIA)
);
CREATE INDEX IX_MV_ASIENTOS_CPTE ON MV_ASIENTOS (TC, SUCURSAL, NUMERO, LETRA);
-- An entry number is one entry's of its register type, month and period: two
-- operators who took the same number cannot both store it.
CREATE UNIQUE INDEX UX_MV_ASIENTOS_NUMERO ON MV_ASIENTOS (PERIODO, MES_OPERATIVO, TIPO_REG, [NUMERO ASIENTO], SECUENCIA)
    WHERE [NUMERO ASIENTO] IS NOT NULL;

CREATE TABLE dbo.MA_SUBDIARIOS (
    CODIGO varchar(4) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    CONSTRAINT PK_MA_SUBDIARIOS PRIMARY KEY (CODIGO)
);

CREATE TABLE dbo.MA_SUBDIARIOSCOMPROBANTES (
    TC varchar(4) NOT NULL,
    SUBDIARIO varchar(4) NOT NULL,
    CONSTRAINT PK_MA_SUBDIARIOSCOMPROBANTES PRIMARY KEY (TC, SUBDIARIO)
);

CREATE TABLE dbo.AC_CUENTASDIARIO (
    CUENTA varchar(10) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    CONSTRAINT PK_AC_CUENTASDIARIO PRIMARY KEY (CUENTA)
);

CREATE TABLE dbo.AC_CUENTASDIARIO_CCOSTO (
    CUENTA varchar(10) NOT NULL,
    CCOSTO varchar(4) NOT NULL,
    CONSTRAINT PK_AC_CUENTASDIARIO_CCOSTO PRIMARY KEY (CUENTA, CCOSTO)
);

CREATE TABLE dbo.TA_CCOSTO (
    CODIGO varchar(4) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    CONSTRAINT PK_TA_CCOSTO PRIMARY KEY (CODIGO)
);

-- Articles, units, deposits, stock -----------------------------------------

CREATE TABLE dbo.V_MA_ARTICULOS (
    IDARTICULO varchar(25) NOT NULL,
    DESCRIPCION varchar(100) NULL,
    IDUNIDAD varchar(4) NULL,
    IDFAMILIA varchar(4) NULL,
    IDTIPOARTICULO varchar(4) NULL,
    codigobarra varchar(25) NULL,
    CODIGOBARRADUN varchar(25) NULL,
    UD_TTE varchar(4) NULL,
    CODIGOBARRA1 varchar(25) NULL, UMCB1 varchar(4) NULL,
    CODIGOBARRA2 varchar(25) NULL, UMCB2 varchar(4) NULL,
    CODIGOBARRA3 varchar(25) NULL, UMCB3 varchar(4) NULL,
    CODIGOBARRA4 varchar(25) NULL, UMCB4 varchar(4) NULL,
    USASERIE bit NOT NULL DEFAULT (0),
    USALOTE bit NOT NULL DEFAULT (0),
    cuentacontableC varchar(10) NULL,
    costo money NULL DEFAULT (0),
    PRECIO1 money NULL DEFAULT (0), PRECIO2 money NULL DEFAULT (0), PRECIO3 money NULL DEFAULT (0),
    PRECIO4 money NULL DEFAULT (0), PRECIO5 money NULL DEFAULT (0), PRECIO6 money NULL DEFAULT (0),
    PRECIO7 money NULL DEFAULT (0), PRECIO8 money NULL DEFAULT (0),
    SUSPENDIDO bit NOT NULL DEFAULT (0),
    -- The supplier account its stock movements carry when the voucher asks for each article's own.
    CUENTAPROVEEDOR varchar(10) NULL,
    -- What a loaded line takes from its article: the type (V_TA_TipoArticulo),
    -- the presentation, VAT exemption, expiry, sizes (NULL: none), weighing
    -- and, in the timber trade, whether the line asks for its measures.
    IdTipo varchar(4) NULL,
    Presentacion varchar(60) NULL,
    Exento bit NULL DEFAULT (0),
    Perecedero bit NULL DEFAULT (0),
    UsaTalle bit NULL,
    pesable bit NULL DEFAULT (0),
    PIDEMEDIDAS bit NULL,
    CONSTRAINT PK_V_MA_ARTICULOS PRIMARY KEY (IDARTICULO)
);

CREATE TABLE dbo.V_MA_INSUMOS (
    IDARTICULO varchar(25) NOT NULL,
    IdArticuloInsumo varchar(25) NOT NULL,
    IdUnidadInsumo varchar(4) NULL,
    CANTIDAD float NULL DEFAULT (0),
    CONSTRAINT PK_V_MA_INSUMOS PRIMARY KEY (IDARTICULO, IdArticuloInsumo)
);

CREATE TABLE dbo.V_MA_PRECIOS (
    IDARTICULO varchar(25) NOT NULL,
    LISTA varchar(4) NOT NULL,
    PRECIO money NULL DEFAULT (0),
    CONSTRAINT PK_V_MA_PRECIOS PRIMARY KEY (IDARTICULO, LISTA)
);

CREATE TABLE dbo.V_TA_UNIDAD (
    IDUNIDAD varchar(4) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    CONSTRAINT PK_V_TA_UNIDAD PRIMARY KEY (IDUNIDAD)
);

-- One IDUNIDAD times Coeficiente is the quantity in IDUNIDAD_EQUIV.
CREATE TABLE dbo.S_TA_EQUIV (
    IdArticulo varchar(25) NOT NULL,
    IDUNIDAD varchar(4) NOT NULL,
    IDUNIDAD_EQUIV varchar(4) NOT NULL,
    Coeficiente float NOT NULL DEFAULT (1),
    CONSTRAINT PK_S_TA_EQUIV PRIMARY KEY (IdArticulo, IDUNIDAD, IDUNIDAD_EQUIV)
);

CREATE TABLE dbo.V_TA_FAMILIAS (
    IDFAMILIA varchar(4) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    CONSTRAINT PK_V_TA_FAMILIAS PRIMARY KEY (IDFAMILIA)
);

CREATE TABLE dbo.V_TA_TipoArticulo (
    IdTipo varchar(4) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    Tipo varchar(4) NULL,
    CONSTRAINT PK_V_TA_TipoArticulo PRIMARY KEY (IdTipo)
);

CREATE TABLE dbo.V_ta_Rubros (
    IdRubro varchar(4) NOT NULL,
    Descripcion varchar(60) NULL,
    CONSTRAINT PK_V_ta_Rubros PRIMARY KEY (IdRubro)
);

CREATE TABLE dbo.V_TA_DEPOSITO (
    IDDEPOSITO varchar(4) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    CONSTRAINT PK_V_TA_DEPOSITO PRIMARY KEY (IDDEPOSITO)
);

CREATE TABLE dbo.V_TA_CAJAS (
    IDCAJA varchar(4) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    CONSTRAINT PK_V_TA_CAJAS PRIMARY KEY (IDCAJA)
);

CREATE TABLE dbo.V_TA_VENDEDORES (
    IDVENDEDOR varchar(4) NOT NULL,
    NOMBRE varchar(60) NULL,
    CONSTRAINT PK_V_TA_VENDEDORES PRIMARY KEY (IDVENDEDOR)
);

CREATE TABLE dbo.V_TA_TECNICOS (
    IDTECNICO varchar(4) NOT NULL,
    NOMBRE varchar(60) NULL,
    CONSTRAINT PK_V_TA_TECNICOS PRIMARY KEY (IDTECNICO)
);

CREATE TABLE dbo.v_ta_tareas (
    IDTAREA varchar(10) NOT NULL,
    DESCRIPCION varchar(100) NULL,
    CONSTRAINT PK_v_ta_tareas PRIMARY KEY (IDTAREA)
);

CREATE TABLE dbo.V_TA_MotivoVta (
    IdMotivoVta varchar(4) NOT NULL,
    Descripcion varchar(60) NULL,
    CuentaContable varchar(10) NULL,
    CONSTRAINT PK_V_TA_MotivoVta PRIMARY KEY (IdMotivoVta)
);

CREATE TABLE dbo.V_TA_Input_Ventas (
    IdMotivoVta varchar(4) NOT NULL,
    COSTO_MERCADERIA varchar(10) NULL,
    CONSTRAINT PK_V_TA_Input_Ventas PRIMARY KEY (IdMotivoVta)
);

CREATE TABLE dbo.V_TA_MOTIVOSTOCK (
    IDMOTIVOSTOCK varchar(4) NOT NULL,
    CUENTACONTABLE varchar(10) NULL,
    Descripcion varchar(60) NULL,
    CONSTRAINT PK_V_TA_MOTIVOSTOCK PRIMARY KEY (IDMOTIVOSTOCK)
);

CREATE TABLE dbo.ma_posiciones (
    iddeposito varchar(4) NOT NULL,
    idposicion varchar(10) NOT NULL,
    descripcion varchar(60) NULL,
    orden int NULL DEFAULT (0),
    ordeningreso int NULL DEFAULT (0),
    CONSTRAINT PK_ma_posiciones PRIMARY KEY (iddeposito, idposicion)
);

-- A NULL idposicion is the deposit's balance outside every position.
CREATE TABLE dbo.AC_SALDOSLAYOUT (
    ID int NOT NULL,
    iddeposito varchar(4) NOT NULL,
    idposicion varchar(10) NULL,
    idarticulo varchar(25) NOT NULL,
    nrolote varchar(25) NOT NULL DEFAULT (''),
    idunidadbase varchar(4) NULL,
    saldo float NULL DEFAULT (0),
    CONSTRAINT PK_AC_SALDOSLAYOUT PRIMARY KEY (ID)
);
CREATE INDEX IX_AC_SALDOSLAYOUT_ARTICULO ON AC_SALDOSLAYOUT (iddeposito, idarticulo);

CREATE TABLE dbo.STK_SALDOS_UNIDADES (
    IDARTICULO varchar(25) NOT NULL,
    IDDEPOSITO varchar(4) NOT NULL,
    EQUIVALENCIA varchar(4) NOT NULL,
    STOCK float NULL DEFAULT (0),
    CONSTRAINT PK_STK_SALDOS_UNIDADES PRIMARY KEY (IDARTICULO, IDDEPOSITO, EQUIVALENCIA)
);

CREATE TABLE dbo.STK_STOCK_UDKG (
    IDARTICULO varchar(25) NOT NULL,
    IDDEPOSITO varchar(4) NOT NULL,
    CantidadUd float NULL DEFAULT (0),
    CantidadKg float NULL DEFAULT (0),
    CONSTRAINT PK_STK_STOCK_UDKG PRIMARY KEY (IDARTICULO, IDDEPOSITO)
);

-- The balance per lot, serial and position; an article that uses only
-- lots (or only serials) keeps the other NULL.
CREATE TABLE dbo.STK_SERIES_Y_LOTES (
    IdArticulo varchar(25) NOT NULL,
    IdDeposito varchar(4) NOT NULL,
    NroLote varchar(25) NULL,
    NroSerie varchar(25) NULL,
    IdPosicion varchar(15) NULL,
    IdUnidad varchar(4) NULL,
    CANTIDAD float NULL DEFAULT (0),
    Vencimiento datetime NULL
);
CREATE INDEX IX_STK_SERIES_Y_LOTES_ARTICULO ON STK_SERIES_Y_LOTES (IdArticulo, IdDeposito);

-- Customers and suppliers -----------------------------------------------------

CREATE TABLE dbo.VT_CLIENTES (
    CODIGO varchar(10) NOT NULL,
    RAZONSOCIAL varchar(60) NULL,
    RAZON_SOCIAL varchar(60) NULL,
    CONTACTO varchar(60) NULL,
    Dada_De_Baja bit NOT NULL DEFAULT (0),
    CONSTRAINT PK_VT_CLIENTES PRIMARY KEY (CODIGO)
);

CREATE TABLE dbo.VT_PROVEEDORES (
    CODIGO varchar(10) NOT NULL,
    RAZONSOCIAL varchar(60) NULL,
    RAZON_SOCIAL varchar(60) NULL,
    Dada_De_Baja bit NOT NULL DEFAULT (0),
    CONSTRAINT PK_VT_PROVEEDORES PRIMARY KEY (CODIGO)
);

-- What the lookups' default query masks name ---------------------------------

CREATE TABLE dbo.MA_CONTACTOS (
    CODIGO varchar(10) NOT NULL,
    Nombre_y_Apellido varchar(60) NULL,
    Domicilio varchar(60) NULL,
    Localidad varchar(40) NULL,
    Telefono varchar(30) NULL,
    CONSTRAINT PK_MA_CONTACTOS PRIMARY KEY (CODIGO)
);

CREATE TABLE dbo.V_MA_MANTENIMIENTOS (
    CODIGO varchar(10) NOT NULL,
    DESCRIPCION varchar(60) NULL,
    CONSTRAINT PK_V_MA_MANTENIMIENTOS PRIMARY KEY (CODIGO)
);

GO

-- Views -----------------------------------------------------------------------

CREATE VIEW dbo.VT_MA_ARTICULOS AS SELECT * FROM V_MA_ARTICULOS;
-- Per voucher and article: the quantity on the voucher, and the quantity
-- already moved through stock (without its sign).
CREATE VIEW dbo.VT_V_MV_CPTEINSUMOS_CONS2 AS
    SELECT TC, IDCOMPROBANTE, IDARTICULO, SUM(CANTIDAD) AS Cantidad
    FROM V_MV_CPTEINSUMOS GROUP BY TC, IDCOMPROBANTE, IDARTICULO;
CREATE VIEW dbo.VT_V_MV_Stock_Cons AS
    SELECT TC, IdComprobante AS IDCOMPROBANTE, IdArticulo AS IDARTICULO, ABS(SUM(Cantidad)) AS Cantidad
    FROM V_MV_STOCK GROUP BY TC, IdComprobante, IdArticulo;
-- Vouchers still open, as the voucher lookup's pending lists read them.
CREATE VIEW dbo.V_RemitosPendientes AS SELECT * FROM V_MV_CPTE WHERE FINALIZADA = 0 AND ANULADA = 0;
CREATE VIEW dbo.C_RemitosPendientes AS SELECT * FROM C_MV_CPTE WHERE FINALIZADO = 0 AND ANULADA = 0;
CREATE VIEW dbo.V_OT_Pendientes AS SELECT * FROM V_MV_CPTE WHERE FINALIZADA = 0;
CREATE VIEW dbo.V_PR_PENDIENTES AS SELECT * FROM V_MV_CPTE WHERE FINALIZADA = 0 AND ANULADA = 0;
-- What later vouchers applied of a voucher's lines: their quantities summed by
-- origin type (trimmed: 'RM'), origin voucher and article. Written as the
-- first line of each group with its group's sum rather than as a GROUP BY:
-- the engine filters a grouped view only after grouping all of it when the
-- keys compare by the text collation, so every lookup read the whole table;
-- this way a lookup by origin and article is an index search.
CREATE VIEW dbo.VT_V_MV_INSUMOS_APLICACION AS
    SELECT LTRIM(RTRIM(a.TC_ORIGEN)) AS TCO_ORIGEN, a.IDCOMPROBANTE_ORIGEN AS IDCOMPROBANTEORIGEN, a.IDARTICULO,
        (SELECT SUM(s.CANTIDAD) FROM V_MV_CPTEINSUMOS s
         WHERE s.IDCOMPROBANTE_ORIGEN IS a.IDCOMPROBANTE_ORIGEN AND s.IDARTICULO IS a.IDARTICULO
             AND s.TC_ORIGEN IS NOT NULL AND LTRIM(RTRIM(s.TC_ORIGEN)) = LTRIM(RTRIM(a.TC_ORIGEN))) AS CantidadAplicada
    FROM V_MV_CPTEINSUMOS a
    WHERE a.TC_ORIGEN IS NOT NULL AND NOT EXISTS (SELECT 1 FROM V_MV_CPTEINSUMOS p
        WHERE p.IDCOMPROBANTE_ORIGEN IS a.IDCOMPROBANTE_ORIGEN AND p.IDARTICULO IS a.IDARTICULO
            AND p.TC_ORIGEN IS NOT NULL AND LTRIM(RTRIM(p.TC_ORIGEN)) = LTRIM(RTRIM(a.TC_ORIGEN)) AND p.rowid < a.rowid);

-- The synonyms through which users who are not administrators read.
CREATE VIEW dbo.SS_MA_CUENTAS AS SELECT * FROM MA_CUENTAS;
CREATE VIEW dbo.SS_V_TA_DEPOSITO AS SELECT * FROM V_TA_DEPOSITO;
CREATE VIEW dbo.SS_MV_ASIENTOS AS SELECT * FROM MV_ASIENTOS;
CREATE VIEW dbo.SS_V_TA_FAMILIAS AS SELECT * FROM V_TA_FAMILIAS;
CREATE VIEW dbo.SS_V_TA_CAJAS AS SELECT * FROM V_TA_CAJAS;
CREATE VIEW dbo.SS_AC_CUENTASDIARIO AS SELECT * FROM AC_CUENTASDIARIO;
CREATE VIEW dbo.SS_AC_CUENTAS_DIARIO_CCOSTO AS SELECT * FROM AC_CUENTASDIARIO_CCOSTO;
GO

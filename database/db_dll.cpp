#include "database/db_dll.h"

#include "platform/component/component.h"

DB_Dll::DB_Dll() = default;

// Out of line: the component types are complete only here.
DB_Dll::~DB_Dll() = default;

ClsDialogoArchivo &DB_Dll::CmdDlg()
{
    if (!m_cmdDlg)
        m_cmdDlg = std::make_unique<ClsDialogoArchivo>();
    return *m_cmdDlg;
}

ado::Connection &DB_Dll::gCnn()
{
    if (!m_cnn)
        m_cnn = std::make_unique<ado::Connection>();
    return *m_cnn;
}

// The class keeps its own component object, never the module-wide one.
ClsComponente &DB_Dll::mComponente()
{
    if (!m_componente)
        m_componente = std::make_unique<ClsComponente>();
    return *m_componente;
}

DB_Dll &gDB()
{
    // Created on first use and never destroyed, so that code running late at
    // exit still finds the connection (no order-of-destruction surprises).
    static DB_Dll *instance = new DB_Dll();
    return *instance;
}

// anulacion "@Server=...;@DbName=...;@Usuario=...;@Password=;"
// The command line is the suite's parameter string; start-up reads it.
#include "purge/form1.h"

#include "platform/ui/ui.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ui::SetApplicationTitle(Form1::kTitulo);
    Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}

#include "mainform.h"
#include "startup.h"
#include "tdm.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);

    TDM dm;
    TMainForm mainForm(dm);
    // The data module has already told the user which table failed.
    if (!dm.OtworzTabele())
        return EXIT_FAILURE;
    mainForm.UtworzOkna();
    mainForm.show();
    return app.exec();
}

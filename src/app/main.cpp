#include "app/mainform.h"
#include "app/startup.h"
#include "data/tdm.h"
#include "widgets/modalmessageboxes.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);

    ModalMessageBoxes boxes;
    TDM dm(boxes);
    TMainForm mainForm(dm);
    // The data module has already told the user which table failed.
    if (!dm.OtworzTabele())
        return EXIT_FAILURE;
    mainForm.UtworzOkna();
    mainForm.show();
    return app.exec();
}

#include "app/mainform.h"
#include "app/startup.h"
#include "app/tarlenapplication.h"
#include "core/privatefiles.h"
#include "data/tdm.h"
#include "widgets/modalmessageboxes.h"

#include <cstdlib>

int main(int argc, char *argv[])
{
    // The database, its copies and every temporary file hold personal data.
    PrivateFiles::restrictNewFiles();
    TarlenApplication app(argc, argv);
    prepareApplication(app);

    ModalMessageBoxes boxes;
    TDM dm(boxes);
    // From here on an error of the data in any window is shown by the data
    // module's message box instead of ending the program.
    app.setDataModule(&dm);
    TMainForm mainForm(dm);
    // The user has already been told which table failed.
    if (!OtworzBazeDanych(dm))
        return EXIT_FAILURE;
    QObject::connect(&mainForm, &TMainForm::BezBazy, &app, [] { QCoreApplication::exit(EXIT_FAILURE); });
    mainForm.UtworzOkna();
    mainForm.show();
    return app.exec();
}

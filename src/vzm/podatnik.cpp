#include "vzm/podatnik.h"

#include "core/common.h"
#include "data/tdm.h"

bool UstawPodatnika(TDM &dm, int PodatId)
{
    Table &podatnik = dm.Podatnik;
    const QString klucz = QStringLiteral("PodatId");
    const bool biezacy = podatnik.recordCount() > 0 && !podatnik.isEditing()
        && podatnik.field(klucz).asInteger() == PodatId;
    if (biezacy || podatnik.locate(klucz, PodatId))
        return true;
    dm.Uwaga(BrakPodatnika(PodatId));
    return false;
}

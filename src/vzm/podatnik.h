#pragma once

class TDM;

// Makes the taxpayer PodatId the current record of Podatnik.DB (so the
// register follows); a taxpayer that cannot be found is reported with a
// warning and answers false.
bool UstawPodatnika(TDM &dm, int PodatId);

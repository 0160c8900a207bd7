#pragma once

#include <QString>

class Bare;
class Report;
class TDM;
struct GeneratedRegister;

// Times the applications window and the application editor on the register
// open in `dm`, each beside the same reads made with the bare sqlite3 API.
// `register_` names the register in the lines of the report.
void benchWindows(Report &report, TDM &dm, Bare &bare, const GeneratedRegister &reg, const QString &register_);

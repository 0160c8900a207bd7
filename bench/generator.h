#pragma once

#include <QString>

// A deterministic register for the benchmark: 10,000 taxpayers, 20,000
// applications and 500,000 invoices. The first application of the first
// taxpayer holds exactly 300 invoices, all in list A.
struct GeneratedRegister
{
    static constexpr int Taxpayers = 10000;
    static constexpr int Applications = 20000;
    static constexpr int Invoices = 500000;
    static constexpr int BusyApplicationInvoices = 300;
    int busyTaxpayer = 1;
    int busyApplication = 1;
};

// Creates the register in `directory` unless a database is already there.
GeneratedRegister generateRegister(const QString &directory);

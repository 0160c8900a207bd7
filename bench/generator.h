#pragma once

#include <QString>

// The size of a generated register: the full one has 10,000 taxpayers,
// 20,000 applications (two each) and 500,000 invoices.
struct RegisterSize
{
    int taxpayers = 10000;
    int applications = 20000;
    int invoices = 500000;
};

// A deterministic register for the benchmark. The first application of the
// first taxpayer holds exactly 300 invoices, all in list A; its second
// application holds a share of the rest.
struct GeneratedRegister
{
    static constexpr int BusyApplicationInvoices = 300;
    int busyTaxpayer = 1;
    int busyApplication = 1;
    int otherApplication = 2;
};

// Creates the register in `directory` unless a database is already there.
GeneratedRegister generateRegister(const QString &directory, RegisterSize size = {});

#pragma once

#include "core/common.h"

#include <QStringView>

// The marks of one identifier of the taxpayer and the same of the spouse.
struct ZnacznikiPary
{
    TStanPola podatnika;
    TStanPola malzonka;
};

// Each wrong number is marked; a NIP or PESEL given for both, character for
// character, marks both. Equal accounts are allowed. Empty numbers (an
// untouched mask) are never marked.
ZnacznikiPary ZnacznikiNipow(QStringView podatnika, QStringView malzonka);
ZnacznikiPary ZnacznikiPeseli(QStringView podatnika, QStringView malzonka);
ZnacznikiPary ZnacznikiKont(QStringView podatnika, QStringView malzonka);

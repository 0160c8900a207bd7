#pragma once

class Report;
class TDM;

// Times the overprint of an application's four pages and of the two pages of
// each of its 19 attachments (513 invoices in list A, the 300 of the
// busy application and 213 more) into PDF files, beside
// a bare QPainter pass that draws the same texts at the same points onto a
// QPdfWriter, one file per page as well. The invoices added to the
// application for it are taken away again.
void benchOverprint(Report &report, TDM &dm, int podatId, int vzmId);

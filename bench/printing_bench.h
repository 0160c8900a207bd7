#pragma once

class Report;
class TDM;

// Times the printing of an application with 19 attachments (513 invoices in
// list A: the 300 of the busy application and 213 more, taken away again
// afterwards), beside bare QPainter passes onto a QPdfWriter:
//  - the overprint of its four pages and of the two pages of each attachment
//    into PDF files, against the same texts drawn at the same points;
//  - the complete forms of all 42 pages into one PDF through the report
//    engine, against the same drawing calls replayed from a recording;
//  - the time until the preview of the application shows its first page,
//    for an application of one attachment and for this one.
void benchPrinting(Report &report, TDM &dm, int podatId, int vzmId);

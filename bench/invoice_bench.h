#pragma once

class Bare;
class Report;
class TDM;

// Times storing one new invoice with 20 amount lines into list A of
// application vzmId, through the same rules and data module path as the
// invoice editor (one transaction), beside the same writes and reads made
// with the bare sqlite3 API. What each repeat stores is deleted again, so
// the register stays as it was.
void benchInvoiceStore(Report &report, TDM &dm, Bare &bare, int vzmId);

// Times the import of a 500-row CSV file into list A of application vzmId:
// reading, checking every row and storing all in one transaction, beside the
// bare API storing the same rows of the same file. What each repeat stores
// is deleted again.
void benchSpreadsheetImport(Report &report, TDM &dm, Bare &bare, int vzmId);

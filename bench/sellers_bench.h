#pragma once

class Bare;
class Report;
class TDM;

// Times the sellers register's search as the user types, on a register of
// 10,000 sellers (stored in the database once, when it holds fewer), beside
// the same reads made with the bare sqlite3 API.
void benchSellers(Report &report, TDM &dm, Bare &bare);

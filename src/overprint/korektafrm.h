#pragma once

#include <QDialog>

#include <memory>

class TDM;

// "Korekta współrzędnych pól na wydruku": the corrections of the single
// fields of the overprint (Korekta.db), shifts in whole millimetres to the
// right and down, negative ones to the left and up. A scrolling list shows
// four fields at a time; the user edits the two numbers of existing rows,
// adds and deletes none. A row being edited is saved when the list moves
// to another row, by the save button of the navigation bar and by
// "&Zamknij"; the bar's cancel button asks before it drops a shift typed.
// Created when its menu item is chosen, freed when it closes;
// each showing reads the table anew.
class TKorektaFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TKorektaFrm(TDM &dm, QWidget *parent = nullptr);
    ~TKorektaFrm() override;

    // The range of a shift, as the editing controls take it.
    static constexpr int NajwiekszePrzesuniecie = 99;

protected:
    void showEvent(QShowEvent *event) override;
    // Every way of closing saves the row being edited first; when that
    // fails the user is told and the window stays open.
    void done(int result) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

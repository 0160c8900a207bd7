#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>

class QPainter;

// Places data on a printer page: millimetres to device pixels, optional
// upper case, and the ways the recurring kinds of data are laid into the
// boxes of the paper forms (digit boxes, dates, identifiers, bank accounts,
// amounts ending at a point, notes, crosses, narrow columns).
//
// Positions are device pixels of the canvas; a text is placed by the
// top-left corner of its cell. Characters laid into boxes are drawn one by
// one, each at the start plus its own distance converted from millimetres,
// so that rounding never accumulates along a row.
class TPrn
{
public:
    enum TCaseMode { pcAsTyped, pcUpper };

    // Distances of the PESEL characters from the start of the field, mm.
    static constexpr std::array<int, 11> PeselSteps{0, 5, 11, 16, 21, 26, 32, 37, 42, 48, 53};
    // Distances of the first digit of each group of a bank account, mm.
    static constexpr std::array<float, 7> AccountGroups{0, 12, 35, 58, 80, 103, 126};

    // Draws on the canvas of a begun print document, in its current font.
    explicit TPrn(QPainter &canvas) : m_canvas(canvas) {}

    void SetDpiX(int dpi) { DpiX = dpi; }
    void SetDpiY(int dpi) { DpiY = dpi; }
    int MmToX(float mm) const;
    int MmToY(float mm) const;

    void UpperOn() { CaseMode = pcUpper; }
    void UpperOff() { CaseMode = pcAsTyped; }
    QString ApplyCase(const QString &text) const;
    bool TextFits(const QString &text, int width) const;

    void PrintText(int x, int y, const QString &text);
    void PrintRight(int x, int y, const QString &text);
    void PrintMark(int x, int y);
    void PrintTwoDigits(int x, int y, int number);
    void PrintYear(int x, int y, int number);
    void PrintDate(int x, int y, const QDate &date);
    void PrintSpaced(int x, int y, const QString &text);
    void PrintNip(int x, int y, const QString &text);
    void PrintPesel(int x, int y, const QString &text);
    void PrintAccount(int x, int y, const QString &text);
    void PrintLines(int x, int y, const QStringList &lines);
    void PrintWrapped(int x, int y, const QString &text, int width);
    // The head of s that fits the width, ending at a break where one is,
    // and the rest without its leading blanks.
    std::pair<QString, QString> SplitToFit(const QString &s, int width) const;

    int DpiX = 0;
    int DpiY = 0;
    TCaseMode CaseMode = pcAsTyped;

private:
    // The one text output: the cell's top-left corner at (x, y).
    void TextOut(int x, int y, const QString &text);
    int TextWidth(const QString &text) const;
    int TextHeight(const QString &text) const;
    // Each character of text at x plus the distance of its index, mm.
    template <typename Distance>
    void PrintEach(int x, int y, const QString &text, Distance distance);

    QPainter &m_canvas;
};

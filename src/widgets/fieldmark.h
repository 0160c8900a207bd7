#pragma once

#include "core/common.h"

class QLineEdit;

// Paints a mark on an edit: the text in the mark's colour, the hint as the
// tooltip while the mark asks for it to be shown.
void PokazZnacznik(QLineEdit &edit, const TStanPola &stan);

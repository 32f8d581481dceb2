// Program-wide pieces of the calculator window: the active-panel colour and
// the message boxes the calculations show.
#pragma once

#include "Colour.h"
#include "calculations.h"

namespace zornavex::Module1 {

// The caption colour of the active panel; Form_Load sets it.
extern forms::ColourValue ColoreFrameAttivo;

void AvvisoCampiMancanti();
void AvvisoPrescalerAlto();
void AvvisoTMR0Alto();

// Shows the warning a calculation asked for (nothing for Warning::None).
void MostraAvviso(Warning warning);

// Names the fault that stopped a calculation; the program keeps running.
void SegnalaErrore(Fault fault);

// The user's decimal separator, from the locale settings.
wchar_t SeparatoreDecimale();

}  // namespace zornavex::Module1

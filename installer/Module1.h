// Program-wide state of the installer and the clean-up after a cancel or a
// failure. No Windows header: the flags and the clean-up are tested natively.
#pragma once

#include "Installazione.h"

namespace velisca::Module1 {

// True from the confirmation until cmdInstalla_Click: the background's timer
// opens the information page.
inline bool MostraPercorso = false;
// True while the progress window's timer may run the installation.
inline bool InstallazioneAttiva = false;

// Removes the help folder, then the program folder, where they are empty;
// every failure is ignored. The root folder and every file stay, and so does
// everything inside a folder refused for its owner or kind.
void RimuoviCartelle(FileSystem& fs, const Rifiutate& giaRifiutate = {});

}  // namespace velisca::Module1

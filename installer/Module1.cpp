#include "Module1.h"

namespace velisca::Module1 {

void RimuoviCartelle(FileSystem& fs, const Rifiutate& giaRifiutate) {
  // Failures are expected (a folder that holds files, or none at all). A
  // folder below a refused one may lie anywhere a junction points.
  for (const std::wstring& cartella : {CartellaGuida(), CartellaProgramma()})
    if (!DentroRifiutata(giaRifiutate, cartella) && RifiutateFinoA(fs, cartella).empty())
      (void)fs.RimuoviCartella(cartella);
}

}  // namespace velisca::Module1

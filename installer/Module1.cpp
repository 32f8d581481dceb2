#include "Module1.h"

namespace velisca::Module1 {

void RimuoviCartelle(FileSystem& fs) {
  // Failures are expected (a folder that holds files, or none at all).
  (void)fs.RimuoviCartella(CartellaGuida());
  (void)fs.RimuoviCartella(CartellaProgramma());
}

}  // namespace velisca::Module1

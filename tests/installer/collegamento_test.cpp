// The path rules of the desktop lookup.
#include <gtest/gtest.h>

#include "Collegamento_percorsi.h"

namespace velisca::Collegamento {
namespace {

std::wstring Buffer(std::wstring_view text, size_t size = 260) {
  std::wstring b(size, L' ');
  b.replace(0, text.size(), text);
  return b;
}

TEST(TestoDelBuffer, DropsTheClosingZeroAndTheSpacesAfterIt) {
  EXPECT_EQ(TestoDelBuffer(Buffer(std::wstring(L"C:\\users\\io\\Desktop") + L'\0')), L"C:\\users\\io\\Desktop");
  EXPECT_EQ(TestoDelBuffer(Buffer(std::wstring(L"  C:\\Desktop") + L'\0')), L"C:\\Desktop");
  // A path that fills the buffer has no room for spaces after its end.
  const std::wstring lungo = L"C:\\" + std::wstring(255, L'd');
  EXPECT_EQ(TestoDelBuffer(lungo + L'\0'), lungo);
  // Whatever follows the end of the text is not part of it.
  EXPECT_EQ(TestoDelBuffer(Buffer(std::wstring(L"C:\\a") + L'\0' + L"xyz")), L"C:\\a");
  EXPECT_EQ(TestoDelBuffer(Buffer(L"")), L"");
  EXPECT_EQ(TestoDelBuffer(Buffer(std::wstring(1, L'\0'))), L"");
  // Characters outside any ANSI code page survive.
  EXPECT_EQ(TestoDelBuffer(Buffer(std::wstring(L"C:\\users\\Ζωή\\Desktop") + L'\0')), L"C:\\users\\Ζωή\\Desktop");
}

TEST(ImpostaPercorsoDesktop, StoresThePathWithOneTrailingBackslash) {
  std::wstring p = L"C:\\users\\io\\Desktop";
  ImpostaPercorsoDesktop(p);
  EXPECT_EQ(p, L"C:\\users\\io\\Desktop\\");
  EXPECT_EQ(PercorsoDesktop, L"C:\\users\\io\\Desktop\\");
  std::wstring q = L"E:\\";
  ImpostaPercorsoDesktop(q);
  EXPECT_EQ(q, L"E:\\");
  EXPECT_EQ(PercorsoDesktop, L"E:\\");
  PercorsoDesktop.clear();
}

TEST(UnisciPercorso, UsesExactlyOneSeparator) {
  EXPECT_EQ(UnisciPercorso(L"C:\\Desktop\\", L"ZORNAVEX.lnk"), L"C:\\Desktop\\ZORNAVEX.lnk");
  EXPECT_EQ(UnisciPercorso(L"C:\\Desktop", L"ZORNAVEX.lnk"), L"C:\\Desktop\\ZORNAVEX.lnk");
  EXPECT_EQ(UnisciPercorso(L"C:\\Desktop\\", L"\\ZORNAVEX.lnk"), L"C:\\Desktop\\ZORNAVEX.lnk");
}

TEST(IdentificatoreCartella, FitsOnlyTheSixteenBitRange) {
  EXPECT_EQ(IdentificatoreCartella(0), std::int16_t{0});
  EXPECT_EQ(IdentificatoreCartella(32767), std::int16_t{32767});
  EXPECT_EQ(IdentificatoreCartella(-32768), std::int16_t{-32768});
  EXPECT_FALSE(IdentificatoreCartella(32768));
  EXPECT_FALSE(IdentificatoreCartella(-32769));
}

}  // namespace
}  // namespace velisca::Collegamento

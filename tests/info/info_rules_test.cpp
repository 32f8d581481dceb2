// The system-information lookup, the certificate sequence and the About
// window's texts.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "about_texts.h"
#include "certificate_rules.h"
#include "registry_value.h"
#include "sysinfo_lookup.h"

namespace zornavex {
namespace {

// A registry of (key, value) -> text, recording the lookups in order.
struct FakeRegistry {
  std::map<std::pair<std::wstring, std::wstring>, std::wstring> values;
  std::vector<std::wstring> asked;
  bool emptyPathValue = false;
  bool operator()(const wchar_t* key, const wchar_t* name, std::wstring& text) {
    asked.push_back(std::wstring(key) + L"|" + name);
    if (emptyPathValue && std::wstring(name) == sysinfo::kPathValue) throw registry::EmptyValueError();
    auto it = values.find({key, name});
    if (it == values.end()) {
      text.clear();
      return false;
    }
    text = it->second;
    return true;
  }
};

struct FakeFiles {
  std::set<std::wstring> files;
  std::vector<std::wstring> tested;
  bool operator()(const std::wstring& path) {
    tested.push_back(path);
    return files.count(path) != 0;
  }
};

TEST(SysInfoLookup, PathValueWinsAndIsNotTestedForExistence) {
  FakeRegistry reg;
  reg.values[{sysinfo::kPathKey, sysinfo::kPathValue}] = L"C:\\nessuno\\assente.exe";
  reg.values[{sysinfo::kFolderKey, sysinfo::kFolderValue}] = L"C:\\Strumenti";
  FakeFiles files;
  EXPECT_EQ(sysinfo::FindProgram(std::ref(reg), std::ref(files)), L"C:\\nessuno\\assente.exe");
  EXPECT_EQ(reg.asked.size(), 1u);
  EXPECT_TRUE(files.tested.empty());
}

TEST(SysInfoLookup, EmptyPathIsStillThePathToStart) {
  FakeRegistry reg;
  reg.values[{sysinfo::kPathKey, sysinfo::kPathValue}] = L"";
  FakeFiles files;
  EXPECT_EQ(sysinfo::FindProgram(std::ref(reg), std::ref(files)), L"");
}

TEST(SysInfoLookup, FolderLookupNeedsTheProgramInIt) {
  FakeRegistry reg;
  reg.values[{sysinfo::kFolderKey, sysinfo::kFolderValue}] = L"C:\\Strumenti";
  FakeFiles without;
  EXPECT_EQ(sysinfo::FindProgram(std::ref(reg), std::ref(without)), std::nullopt);
  EXPECT_EQ(without.tested, (std::vector<std::wstring>{L"C:\\Strumenti\\MSINFO32.EXE"}));
  EXPECT_EQ(reg.asked, (std::vector<std::wstring>{
                           L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH",
                           L"SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO"}));

  FakeFiles with{{L"C:\\Strumenti\\MSINFO32.EXE"}, {}};
  EXPECT_EQ(sysinfo::FindProgram(std::ref(reg), std::ref(with)), L"C:\\Strumenti\\MSINFO32.EXE");
}

TEST(SysInfoLookup, NeitherKeyFindsNothing) {
  FakeRegistry reg;
  FakeFiles files;
  EXPECT_EQ(sysinfo::FindProgram(std::ref(reg), std::ref(files)), std::nullopt);
  EXPECT_TRUE(files.tested.empty());
}

TEST(SysInfoLookup, ValueWithoutDataStopsBeforeTheSecondLookup) {
  FakeRegistry reg;
  reg.emptyPathValue = true;
  reg.values[{sysinfo::kFolderKey, sysinfo::kFolderValue}] = L"C:\\Strumenti";
  FakeFiles files{{L"C:\\Strumenti\\MSINFO32.EXE"}, {}};
  EXPECT_THROW(sysinfo::FindProgram(std::ref(reg), std::ref(files)), registry::EmptyValueError);
  EXPECT_EQ(reg.asked.size(), 1u);
}

using Lists = std::array<std::wstring, 4>;
using Boxes = std::array<std::wstring, 3>;
const Boxes kWords{L"Corvane", L"Pelmo", L"Quirsa"};

TEST(CertificateSequence, AllFourListsOnTenUnlock) {
  EXPECT_TRUE(certificate::Evaluate({L"10", L"10", L"10", L"10"}, {L"", L"", L""}).unlockBoxes);
  for (std::size_t odd = 0; odd < 4; ++odd) {
    Lists lists{L"10", L"10", L"10", L"10"};
    lists[odd] = L"9";
    EXPECT_FALSE(certificate::Evaluate(lists, {}).unlockBoxes) << odd;
    lists[odd] = L"";
    EXPECT_FALSE(certificate::Evaluate(lists, {}).unlockBoxes) << odd;
    lists[odd] = L"10 ";
    EXPECT_FALSE(certificate::Evaluate(lists, {}).unlockBoxes) << odd;
  }
}

TEST(CertificateSequence, WordsOpenWhateverTheLists) {
  const auto out = certificate::Evaluate({L"4", L"", L"7", L"10"}, kWords);
  EXPECT_TRUE(out.openCertificate);
  EXPECT_FALSE(out.unlockBoxes);
  EXPECT_TRUE(certificate::Evaluate({L"10", L"10", L"10", L"10"}, kWords).openCertificate);
}

TEST(CertificateSequence, WordsMustBeExactAndInTheirOwnBoxes) {
  const Lists lists{L"10", L"10", L"10", L"10"};
  for (const Boxes& boxes : {Boxes{L"CORVANE", L"PELMO", L"QUIRSA"}, Boxes{L"corvane", L"Pelmo", L"Quirsa"},
                             Boxes{L" Corvane", L"Pelmo", L"Quirsa"}, Boxes{L"Corvane", L"Pelmo ", L"Quirsa"},
                             Boxes{L"Pelmo", L"Corvane", L"Quirsa"}, Boxes{L"Corvane", L"Pelmo", L"200"},
                             Boxes{L"Corvane", L"Pelmo", L"Quirs"}})
    EXPECT_FALSE(certificate::Evaluate(lists, boxes).openCertificate) << boxes[0] << boxes[1] << boxes[2];
}

TEST(AboutTexts, CaptionAndVersionLine) {
  EXPECT_EQ(about::Caption(), L"Informazioni su ZORNAVEX");
  EXPECT_EQ(about::VersionLine(kVersione), L"Versione 2.0.6");
  EXPECT_EQ(about::VersionLine({10, 0, 12}), L"Versione 10.0.12");
}

}  // namespace
}  // namespace zornavex

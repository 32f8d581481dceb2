// The real file layer and the shell under Wine: the error codes the failure
// report shows, version resources, the desktop lookup and the shortcut file.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

#include "Collegamento.h"
#include "FileSystemWin32.h"
#include "Handles.h"
#include "SystemLibrary.h"

namespace velisca {
namespace {

std::wstring TempFolder(const wchar_t* name) {
  wchar_t base[MAX_PATH]{};
  GetTempPathW(MAX_PATH, base);
  std::wstring dir = std::wstring(base) + name;
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

void Write(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

std::string Read(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string out(GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  ReadFile(h, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
  CloseHandle(h);
  return out;
}

TEST(FileLayer, ReportsTheWin32CodeOfEachFailure) {
  FileSystemWin32 fs;
  const std::wstring dir = TempFolder(L"velisca-layer");
  EXPECT_EQ(fs.CreaCartella(dir), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(fs.CreaCartella(dir + L"\\no\\such"), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(fs.CreaCartella(dir + L"\\sub"), 0);
  Write(dir + L"\\a.bin", std::string("\x00\x01\xff zz", 6));
  EXPECT_EQ(fs.CopiaFile(dir + L"\\missing.bin", dir + L"\\b.bin"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(fs.CopiaFile(dir + L"\\a.bin", dir + L"\\no\\b.bin"), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(fs.CopiaFile(dir + L"\\a.bin", dir + L"\\sub\\b.bin"), 0);
  EXPECT_EQ(Read(dir + L"\\sub\\b.bin"), std::string("\x00\x01\xff zz", 6));
  // A copy replaces an existing file.
  Write(dir + L"\\a.bin", "second");
  EXPECT_EQ(fs.CopiaFile(dir + L"\\a.bin", dir + L"\\sub\\b.bin"), 0);
  EXPECT_EQ(Read(dir + L"\\sub\\b.bin"), "second");
  {
    forms::KernelHandle held(CreateFileW((dir + L"\\sub\\b.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                         nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(fs.CopiaFile(dir + L"\\a.bin", dir + L"\\sub\\b.bin"), ERROR_SHARING_VIOLATION);
  }
  EXPECT_EQ(fs.RimuoviCartella(dir + L"\\sub"), ERROR_DIR_NOT_EMPTY);
  DeleteFileW((dir + L"\\sub\\b.bin").c_str());
  EXPECT_EQ(fs.RimuoviCartella(dir + L"\\sub"), 0);
  EXPECT_EQ(fs.RimuoviCartella(dir + L"\\sub"), ERROR_FILE_NOT_FOUND);
  DeleteFileW((dir + L"\\a.bin").c_str());
  RemoveDirectoryW(dir.c_str());
}

// The install folders' layer. Wine keeps no rights on files: a folder made
// with the protected rights reads back with Wine's own, owned by the account
// that runs the test (see the README); what shows here is that every call
// succeeds and what a folder reads as. Wine 8 also renames a folder that is
// held open without delete sharing, which Windows refuses (32): that the
// folder is held in place cannot be shown here.
TEST(FileLayer, FoldersAreMadeReadHeldAndSecured) {
  const std::wstring dir = TempFolder(L"velisca-folders");
  const std::wstring made = dir + L"\\made", file = dir + L"\\file.txt";
  RemoveDirectoryW(made.c_str());
  {
    FileSystemWin32 fs;
    ASSERT_EQ(fs.CreaCartella(made), 0);
    StatoCartella stato;
    ASSERT_EQ(fs.LeggiCartella(made + L"\\", stato), 0);
    EXPECT_EQ(stato.reparse, Reparse::Nessuno);
    EXPECT_TRUE(stato.propria.voci.has_value());
    EXPECT_NE(Giudica(stato), Giudizio::Rifiutata) << "the installing account's own folder";
    EXPECT_EQ(fs.Proteggi(made), 0);
    Write(file, "x");
    EXPECT_EQ(fs.LeggiCartella(file, stato), ERROR_DIRECTORY);
    EXPECT_EQ(fs.LeggiCartella(dir + L"\\none", stato), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(fs.Proteggi(dir + L"\\none"), ERROR_FILE_NOT_FOUND);
    // Write protection goes; the other attributes stay.
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(fs.TogliSolaLettura(file), 0);
    EXPECT_EQ(GetFileAttributesW(file.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(fs.TogliSolaLettura(dir + L"\\none"), ERROR_FILE_NOT_FOUND);
    // Removing lets the held folder go first.
    EXPECT_EQ(fs.RimuoviCartella(made), 0);
    EXPECT_EQ(GetFileAttributesW(made.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(file.c_str());
  RemoveDirectoryW(dir.c_str());
}

// The steps of a copy that never damages its destination.
TEST(FileLayer, ReplacesInOneStepAndRefusesProtectedOrOpenFiles) {
  FileSystemWin32 fs;
  const std::wstring dir = TempFolder(L"velisca-replace");
  const std::wstring nuovo = dir + L"\\new.tmp", dest = dir + L"\\dest.bin";
  Write(dest, "earlier");
  Write(nuovo, "whole new file");
  EXPECT_EQ(fs.Sostituisci(nuovo, dest), 0);
  EXPECT_EQ(Read(dest), "whole new file");
  EXPECT_EQ(GetFileAttributesW(nuovo.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(fs.Sostituisci(nuovo, dest), ERROR_FILE_NOT_FOUND);

  // A write-protected destination stays; so does the new file, which the
  // installer then deletes although it carries its source's protection.
  Write(nuovo, "second");
  ASSERT_TRUE(SetFileAttributesW(dest.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(SetFileAttributesW(nuovo.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(fs.Sostituisci(nuovo, dest), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Read(dest), "whole new file");
  EXPECT_EQ(fs.EliminaFile(nuovo), 0);
  EXPECT_EQ(GetFileAttributesW(nuovo.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(fs.EliminaFile(nuovo), ERROR_FILE_NOT_FOUND);
  ASSERT_TRUE(SetFileAttributesW(dest.c_str(), FILE_ATTRIBUTE_NORMAL));

  // A file held open, as a running program's is, cannot be replaced.
  Write(nuovo, "third");
  {
    forms::KernelHandle held(CreateFileW(dest.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(fs.Sostituisci(nuovo, dest), ERROR_ACCESS_DENIED);
  }
  EXPECT_EQ(Read(dest), "whole new file");
  EXPECT_EQ(fs.EliminaFile(nuovo), 0);

  // The copy of a write-protected source still takes its place.
  Write(nuovo, "from a write-protected source");
  ASSERT_TRUE(SetFileAttributesW(nuovo.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(fs.Sostituisci(nuovo, dest), 0);
  EXPECT_EQ(Read(dest), "from a write-protected source");
  SetFileAttributesW(dest.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(dest.c_str());
  RemoveDirectoryW(dir.c_str());
}

// Removing the download mark touches nothing else, and a file without one
// (or a file system without streams) only answers with a number. Wine 8 keeps
// no streams: it makes "ZORNAVEX.exe:Zone.Identifier" a file of its own
// beside the program, which a copy does not carry along.
TEST(FileLayer, RemovesTheDownloadMark) {
  FileSystemWin32 fs;
  const std::wstring dir = TempFolder(L"velisca-mark");
  const std::wstring file = dir + L"\\ZORNAVEX.exe", mark = file + L":Zone.Identifier";
  Write(file, "program");
  EXPECT_NE(fs.RimuoviProvenienza(file), 0);
  EXPECT_EQ(Read(file), "program");
  DWORD streamError = 0;
  {
    forms::KernelHandle stream(CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!stream)
      streamError = GetLastError();
    else
      ASSERT_TRUE(WriteFile(stream.get(), "[ZoneTransfer]\r\nZoneId=3\r\n", 26, &written, nullptr));
  }
  if (streamError == 0) {
    EXPECT_EQ(fs.RimuoviProvenienza(file), 0);
    EXPECT_EQ(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_EQ(Read(file), "program");
  DeleteFileW(file.c_str());
  RemoveDirectoryW(dir.c_str());
  if (streamError != 0) GTEST_SKIP() << "this file system keeps no streams (error " << streamError << " creating one)";
}

TEST(FileLayer, ReadsVersionResources) {
  FileSystemWin32 fs;
  wchar_t system[MAX_PATH]{};
  GetSystemDirectoryW(system, MAX_PATH);
  const auto v = fs.Versione(std::wstring(system) + L"\\kernel32.dll");
  ASSERT_TRUE(v.has_value());
  EXPECT_GT((*v)[0], 0);
  const std::wstring dir = TempFolder(L"velisca-version");
  Write(dir + L"\\plain.txt", "no resource here");
  EXPECT_FALSE(fs.Versione(dir + L"\\plain.txt"));
  EXPECT_FALSE(fs.Versione(dir + L"\\missing.dll"));
  DeleteFileW((dir + L"\\plain.txt").c_str());
  RemoveDirectoryW(dir.c_str());
}

// The fallback for a Windows 7 without KB2533623: each preloaded DLL that the
// system has comes from the system folder, so later loads by name find it in
// memory. Wine has SetDefaultDllDirectories, so only a test reaches this.
TEST(DllSearch, FallbackLoadsItsListFromTheSystemFolder) {
  forms::PreloadSystemDlls();
  const std::wstring system = forms::SystemFolder() + L"\\";
  int found = 0;
  for (size_t i = 0; i < forms::kPreloadedDllCount; ++i) {
    const wchar_t* name = forms::kPreloadedDlls[i];
    if (GetFileAttributesW((system + name).c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    const HMODULE module = GetModuleHandleW(name);
    ASSERT_NE(module, nullptr) << "not loaded: " << std::string(name, name + wcslen(name));
    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(module, path, MAX_PATH);
    EXPECT_EQ(CompareStringOrdinal(path, static_cast<int>(system.size()), system.c_str(), -1, TRUE), CSTR_EQUAL)
        << std::string(name, name + wcslen(name));
    ++found;
  }
  EXPECT_GE(found, 5) << "too few of the list exist here to tell anything";  // Wine 8 has 7 of them
}

TEST(FileLayer, SourceFolderIsTheExecutablesFolder) {
  wchar_t self[MAX_PATH]{};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring expected(self);
  expected.resize(expected.find_last_of(L'\\'));
  EXPECT_EQ(CartellaEseguibile(), expected);
}

class Shell : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    Collegamento::PercorsoDesktop.clear();
    Collegamento::CartellaSpeciale = 0;
  }
  void TearDown() override {
    Collegamento::CartellaSpeciale = 0;
    CoUninitialize();
  }
};

TEST_F(Shell, DesktopIsFoundWithOneTrailingBackslash) {
  std::wstring path = L"unchanged";
  ASSERT_TRUE(Collegamento::LeggiCartellaSpeciale(nullptr, CSIDL_DESKTOPDIRECTORY, path));
  ASSERT_FALSE(path.empty());
  EXPECT_NE(path.back(), L' ');
  EXPECT_EQ(path.find(L'\0'), std::wstring::npos);
  EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);

  EXPECT_EQ(Collegamento::TrovaDesktop(), 0);
  EXPECT_EQ(Collegamento::PercorsoDesktop, path + L"\\");
}

TEST_F(Shell, UnknownFolderLeavesThePathAlone) {
  std::wstring path = L"unchanged";
  EXPECT_FALSE(Collegamento::LeggiCartellaSpeciale(nullptr, 0x00FE, path));
  EXPECT_EQ(path, L"unchanged");
  Collegamento::CartellaSpeciale = 0x00FE;
  EXPECT_EQ(Collegamento::TrovaDesktop(), 0);
  EXPECT_EQ(Collegamento::PercorsoDesktop, L"");
}

TEST_F(Shell, IdentifierOutsideSixteenBitsReachesTheCaller) {
  Collegamento::CartellaSpeciale = 70000;
  EXPECT_EQ(Collegamento::TrovaDesktop(), ERROR_ARITHMETIC_OVERFLOW);
  EXPECT_EQ(Collegamento::PercorsoDesktop, L"");
}

struct LinkRead {
  std::wstring target, workDir, description, iconFile;
  int iconIndex = -1;
  std::int32_t showAt3C = 0;
};

LinkRead ReadLink(const std::wstring& file) {
  LinkRead out;
  forms::ComPtr<IShellLinkW> link;
  forms::ComPtr<IPersistFile> persist;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, persist.put_void())) || FAILED(persist->Load(file.c_str(), 0)))
    return out;
  wchar_t buf[MAX_PATH]{};
  if (SUCCEEDED(link->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH))) out.target = buf;
  if (SUCCEEDED(link->GetWorkingDirectory(buf, MAX_PATH))) out.workDir = buf;
  if (SUCCEEDED(link->GetDescription(buf, MAX_PATH))) out.description = buf;
  if (SUCCEEDED(link->GetIconLocation(buf, MAX_PATH, &out.iconIndex))) out.iconFile = buf;
  // Wine does not read the show command back: take it from the file.
  const std::string bytes = Read(file);
  if (bytes.size() >= 0x40) std::memcpy(&out.showAt3C, bytes.data() + 0x3C, 4);
  return out;
}

void MakeAndCheckShortcut(const std::wstring& dir) {
  wchar_t self[MAX_PATH]{};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring selfDir(self);
  selfDir.resize(selfDir.find_last_of(L'\\'));
  const std::wstring file = dir + L"\\ZORNAVEX.lnk";
  Write(file, "an older file of that name");

  ASSERT_TRUE(Collegamento::CreaCollegamento(file, self, selfDir, L"", self, 1, 5));
  const LinkRead r = ReadLink(file);
  EXPECT_EQ(r.target, self);
  EXPECT_EQ(r.workDir, selfDir);
  EXPECT_EQ(r.description, L"MARDOL");
  EXPECT_EQ(r.iconFile, self);
  EXPECT_EQ(r.iconIndex, 1);
  EXPECT_EQ(r.showAt3C, 5);
  DeleteFileW(file.c_str());
  RemoveDirectoryW(dir.c_str());
}

TEST_F(Shell, ShortcutCarriesEveryProperty) { MakeAndCheckShortcut(TempFolder(L"velisca-link")); }

TEST_F(Shell, ShortcutUnderAFolderOutsideTheAnsiCodePage) {
  const std::wstring dir = TempFolder(L"velisca-\u0396\u03c9\u03ae");
  // Wine maps names to the host's locale: under a locale without UTF-8 such a
  // folder cannot exist at all.
  if (GetFileAttributesW(dir.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "the host file system cannot name this folder (error " << GetLastError() << ")";
  MakeAndCheckShortcut(dir);
}

TEST_F(Shell, ShortcutWithoutFileOrTargetIsNotMade) {
  const std::wstring dir = TempFolder(L"velisca-nolink");
  EXPECT_FALSE(Collegamento::CreaCollegamento(L"", L"C:\\x.exe", L"", L"", L"", 0, 5));
  EXPECT_FALSE(Collegamento::CreaCollegamento(dir + L"\\x.lnk", L"", L"", L"", L"", 0, 5));
  EXPECT_EQ(GetFileAttributesW((dir + L"\\x.lnk").c_str()), INVALID_FILE_ATTRIBUTES);
  // A folder that does not exist: Save fails and the result says so.
  wchar_t self[MAX_PATH]{};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_FALSE(Collegamento::CreaCollegamento(dir + L"\\none\\x.lnk", self, L"", L"", L"", 0, 5));
  RemoveDirectoryW(dir.c_str());
}

}  // namespace
}  // namespace velisca

// Velisca end to end under Wine, shared by its test files: the paths of the
// built files from the environment (see e2e.sh), stand-in setup folders, and
// the fixture that starts Velisca and drives it to its last message box.
#pragma once

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Handles.h"
#include "frmAvvio.h"
#include "frmPercorso.h"
#include "frmStatoIstallazione.h"
#include "ui_driver.h"

namespace velisca {

inline const std::wstring kProgramma = L"C:\\programmi\\Mardol\\ZORNAVEX";
inline const std::wstring kGuida = kProgramma + L"\\Help";
inline const std::wstring kOcx = L"c:\\windows\\system32\\COMDLG32.ocx";

inline std::wstring Env(const wchar_t* name) {
  wchar_t buf[1024]{};
  const DWORD n = GetEnvironmentVariableW(name, buf, 1024);
  return n > 0 && n < 1024 ? std::wstring(buf, n) : std::wstring();
}

inline bool Exists(const std::wstring& p) { return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }
inline bool IsFolder(const std::wstring& p) {
  const DWORD a = GetFileAttributesW(p.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::string Read(const std::wstring& path) {
  forms::KernelHandle h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!h) return "<missing>";
  std::string out(GetFileSize(h.get(), nullptr), '\0');
  DWORD got = 0;
  ReadFile(h.get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
  return out;
}

inline void Write(const std::wstring& path, const std::string& bytes) {
  forms::KernelHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(h) << "cannot write the stand-in";
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

inline std::wstring Desktop() {
  wchar_t buf[MAX_PATH]{};
  return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, buf)) ? buf : L"";
}
inline std::wstring Shortcut() { return Desktop() + L"\\ZORNAVEX.lnk"; }

// Everything an installation may have left, so that each case starts afresh.
inline void Uninstall() {
  for (const wchar_t* f : {L"\\ZORNAVEX.hlp", L"\\ZORNAVEX.cnt"}) DeleteFileW((kGuida + f).c_str());
  SetFileAttributesW((kProgramma + L"\\ZORNAVEX.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW((kProgramma + L"\\ZORNAVEX.exe").c_str());
  for (const wchar_t* d : {L"C:\\programmi\\Mardol\\ZORNAVEX\\Help", L"C:\\programmi\\Mardol\\ZORNAVEX",
                           L"C:\\programmi\\Mardol", L"C:\\programmi"})
    RemoveDirectoryW(d);
  DeleteFileW(kOcx.c_str());
  DeleteFileW(Shortcut().c_str());
}

// Stand-in help files: every byte value, and a tag so that runs differ.
inline std::string StandIn(const char* tag) {
  std::string s(tag);
  for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
  return s;
}

struct Cartella {
  std::wstring dir;
  std::wstring Path(const wchar_t* name) const { return dir + L"\\" + name; }
};

// A setup folder for a case, without the file named by `missing`.
inline Cartella MakeSetupIn(const std::wstring& dir, const wchar_t* missing = nullptr, const char* tag = "1") {
  Cartella s{dir};
  CreateDirectoryW(s.dir.c_str(), nullptr);
  const std::pair<const wchar_t*, std::wstring> built[] = {
      {L"Velisca.exe", Env(L"VELISCA_EXE")}, {L"ZORNAVEX.exe", Env(L"ZORNAVEX_EXE")}, {L"COMDLG32.OCX", Env(L"OCX")}};
  for (const auto& [file, from] : built) {
    DeleteFileW(s.Path(file).c_str());
    if (missing && std::wstring(missing) == file && std::wstring(file) != L"Velisca.exe") continue;
    EXPECT_TRUE(CopyFileW(from.c_str(), s.Path(file).c_str(), FALSE)) << "cannot copy " << from;
  }
  for (const wchar_t* file : {L"ZORNAVEX.hlp", L"ZORNAVEX.cnt"}) {
    DeleteFileW(s.Path(file).c_str());
    if (missing && std::wstring(missing) == file) continue;
    Write(s.Path(file), StandIn(tag) + (file[9] == L'h' ? "hlp" : "cnt"));
  }
  return s;
}
inline Cartella MakeSetup(const wchar_t* name, const wchar_t* missing = nullptr, const char* tag = "1") {
  return MakeSetupIn(std::wstring(L"C:\\setup-") + name, missing, tag);
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Env(L"VELISCA_EXE").empty()) << "run through e2e.sh";
    Uninstall();
  }

  // Starts Velisca from the setup folder, answers "&Si" and waits for the
  // information page.
  HWND StartToInformationPage(const Cartella& s) {
    EXPECT_TRUE(process->Start(s.Path(L"Velisca.exe"), s.dir));
    HWND avvio = zxtest::WaitForWindowWithControl(process->Id(), frmAvvio::cmdSI, 15000);
    if (!avvio) {
      ADD_FAILURE() << "no confirmation page";
      return nullptr;
    }
    EXPECT_EQ(zxtest::ReadText(avvio), L"Programma d' istallazione");
    EXPECT_EQ(zxtest::ReadText(GetDlgItem(avvio, frmAvvio::lblNomeProgramma)), L"ZORNAVEX");
    zxtest::Click(GetDlgItem(avvio, frmAvvio::cmdSI));
    HWND page = zxtest::WaitForWindowWithControl(process->Id(), frmPercorso::cmdInstalla, 10000);
    if (!page) ADD_FAILURE() << "no information page";
    return page;
  }

  // Presses the install button and returns the box that ends the run.
  zxtest::MessageBoxInfo Install(const Cartella& s) {
    HWND page = StartToInformationPage(s);
    if (!page) return {};
    zxtest::Click(GetDlgItem(page, frmPercorso::cmdInstalla));
    auto box = zxtest::WaitForMessageBox(process->Id(), 20000);
    if (!box) {
      ADD_FAILURE() << "no message box after cmdInstalla";
      return {};
    }
    return *box;
  }

  void Close(const zxtest::MessageBoxInfo& box, int button) {
    ASSERT_TRUE(zxtest::PressBoxButton(box.hwnd, button));
  }
  void ExpectExit() {
    const auto code = process->WaitExit(10000);
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_EQ(*code, 0u);
  }

  std::unique_ptr<zxtest::Process> process = std::make_unique<zxtest::Process>();
};

inline const std::wstring kSuccessText = L"L'installazione è stata portata a termine";
inline std::wstring Report(int n) {
  return L"Il programma non può essere installato.\r\nContattare il fornitore e segnalare l'errore:\r\n\r\nNumero " +
         std::to_wstring(n);
}

inline void ExpectInstalledFrom(const Cartella& s) {
  SCOPED_TRACE(testing::Message() << "installed from " << testing::PrintToString(s.dir));
  EXPECT_TRUE(IsFolder(kGuida));
  EXPECT_EQ(Read(kProgramma + L"\\ZORNAVEX.exe"), Read(s.Path(L"ZORNAVEX.exe")));
  EXPECT_EQ(Read(kGuida + L"\\ZORNAVEX.hlp"), Read(s.Path(L"ZORNAVEX.hlp")));
  EXPECT_EQ(Read(kGuida + L"\\ZORNAVEX.cnt"), Read(s.Path(L"ZORNAVEX.cnt")));
}

}  // namespace velisca

// An in-memory file system that fails the way the Windows file layer does,
// with the same error codes: a copy onto a full disk stops halfway and leaves
// what it wrote, a rename refuses a write-protected or open destination, and
// another program may hold a file for a number of attempts.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Installazione.h"

namespace velisca::test {

constexpr NumeroErrore kNonTrovato = 2, kPercorsoNonTrovato = 3, kAccessoNegato = 5, kCondivisione = 32,
                       kDiscoPieno = 112, kEsiste = 183, kNonVuota = 145, kFunzioneNonValida = 1,
                       kNonCartella = 267;

// A folder as Velisca makes it, and as a sound existing one reads.
inline StatoCartella Protetta() { return {{kProprietarioProtetto, VociProtette()}, Reparse::Nessuno, {}}; }

class FakeFileSystem : public FileSystem {
 public:
  FakeFileSystem() { folders_ = {Key(L"C:"), Key(L"c:\\windows"), Key(L"c:\\windows\\system32")}; }

  // The file system ignores case and a trailing separator.
  static std::wstring Key(std::wstring p) {
    while (p.size() > 1 && p.back() == L'\\') p.pop_back();
    for (wchar_t& c : p)
      if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return p;
  }
  static std::wstring Parent(const std::wstring& key) {
    const auto sep = key.find_last_of(L'\\');
    return sep == std::wstring::npos ? std::wstring() : key.substr(0, sep);
  }

  NumeroErrore CreaCartella(const std::wstring& path) override {
    calls.push_back(L"md " + path);
    const std::wstring k = Key(path);
    if (folders_.count(k) || files_.count(k)) return kEsiste;
    if (!folders_.count(Parent(k))) return kPercorsoNonTrovato;
    if (refuseCreate.count(k)) return kAccessoNegato;
    folders_.insert(k);
    states[k] = Protetta();
    return 0;
  }
  NumeroErrore LeggiCartella(const std::wstring& path, StatoCartella& stato) override {
    const std::wstring k = Key(path);
    if (files_.count(k)) return kNonCartella;
    if (!folders_.count(k)) return folders_.count(Parent(k)) ? kNonTrovato : kPercorsoNonTrovato;
    if (unreadable.count(k)) return kAccessoNegato;
    auto it = states.find(k);
    stato = it == states.end() ? Protetta() : it->second;
    return 0;
  }
  NumeroErrore Proteggi(const std::wstring& path) override {
    calls.push_back(L"secure " + path);
    const std::wstring k = Key(path);
    if (!folders_.count(k)) return kNonTrovato;
    if (unsecurable.count(k)) return kAccessoNegato;
    states[k] = Protetta();
    return 0;
  }
  NumeroErrore TogliSolaLettura(const std::wstring& path) override {
    const std::wstring k = Key(path);
    if (!files_.count(k)) return kNonTrovato;
    readOnly.erase(k);
    return 0;
  }
  NumeroErrore CopiaFile(const std::wstring& from, const std::wstring& to) override {
    calls.push_back(L"copy " + from + L" " + to);
    const std::wstring s = Key(from), d = Key(to);
    if (!files_.count(s)) return folders_.count(Parent(s)) ? kNonTrovato : kPercorsoNonTrovato;
    if (!folders_.count(Parent(d))) return kPercorsoNonTrovato;
    if (locked.count(d) || Held(d)) return kCondivisione;
    if (readOnly.count(d)) return kAccessoNegato;
    const std::string content = files_[s];
    files_[d].clear();  // opened and truncated before a byte is written
    versions_.erase(d);
    marked.erase(d);
    if (capacity) {
      const std::size_t free = *capacity - Used();
      if (content.size() > free) {
        files_[d] = content.substr(0, free);
        return kDiscoPieno;
      }
    }
    files_[d] = content;
    if (auto v = versions_.find(s); v != versions_.end()) versions_[d] = v->second;
    if (marked.count(s)) marked.insert(d);
    if (readOnly.count(s)) readOnly.insert(d);  // CopyFile keeps the attributes
    return 0;
  }
  NumeroErrore Sostituisci(const std::wstring& nuovo, const std::wstring& destinazione) override {
    calls.push_back(L"move " + nuovo + L" " + destinazione);
    const std::wstring s = Key(nuovo), d = Key(destinazione);
    if (!files_.count(s)) return kNonTrovato;
    if (!folders_.count(Parent(d))) return kPercorsoNonTrovato;
    if (Held(s)) return kCondivisione;
    // Without POSIX semantics a file with open handles cannot be replaced.
    if (readOnly.count(d) || locked.count(d) || Held(d)) return kAccessoNegato;
    files_[d] = files_[s];
    versions_.erase(d);
    if (auto v = versions_.find(s); v != versions_.end()) versions_[d] = v->second;
    marked.erase(d);
    if (marked.count(s)) marked.insert(d);
    if (readOnly.count(s)) readOnly.insert(d);
    Forget(s);
    return 0;
  }
  NumeroErrore EliminaFile(const std::wstring& path) override {
    calls.push_back(L"del " + path);
    const std::wstring k = Key(path);
    if (!files_.count(k)) return folders_.count(Parent(k)) ? kNonTrovato : kPercorsoNonTrovato;
    if (locked.count(k) || Held(k)) return kCondivisione;
    Forget(k);
    return 0;
  }
  NumeroErrore RimuoviProvenienza(const std::wstring& path) override {
    calls.push_back(L"unmark " + path);
    if (withoutStreams) return kFunzioneNonValida;
    return marked.erase(Key(path)) ? 0 : kNonTrovato;
  }
  NumeroErrore RimuoviCartella(const std::wstring& path) override {
    calls.push_back(L"rd " + path);
    const std::wstring k = Key(path);
    if (!folders_.count(k)) return kNonTrovato;
    for (const auto& f : folders_)
      if (Parent(f) == k) return kNonVuota;
    for (const auto& [f, content] : files_)
      if (Parent(f) == k) return kNonVuota;
    folders_.erase(k);
    return 0;
  }
  std::optional<VersioneFile> Versione(const std::wstring& path) override {
    auto it = versions_.find(Key(path));
    if (it == versions_.end() || !files_.count(Key(path))) return std::nullopt;
    return it->second;
  }

  bool ScrivibileOra(const std::wstring& path) override {
    const std::wstring k = Key(path);
    return files_.count(k) && !readOnly.count(k) && !locked.count(k);
  }
  void Attendi(int millisecondi) override { pauses.push_back(millisecondi); }

  void AddFolder(const std::wstring& path) { folders_.insert(Key(path)); }
  void RemoveFolder(const std::wstring& path) { folders_.erase(Key(path)); }
  void AddFile(const std::wstring& path, std::string content, std::optional<VersioneFile> v = std::nullopt) {
    files_[Key(path)] = std::move(content);
    if (v) versions_[Key(path)] = *v;
  }
  void RemoveFile(const std::wstring& path) { files_.erase(Key(path)); }
  bool HasFolder(const std::wstring& path) const { return folders_.count(Key(path)) != 0; }
  // Names of the files directly inside a folder.
  std::set<std::wstring> FilesIn(const std::wstring& folder) const {
    std::set<std::wstring> out;
    for (const auto& [f, content] : files_)
      if (Parent(f) == Key(folder)) out.insert(f.substr(f.find_last_of(L'\\') + 1));
    return out;
  }
  std::size_t Used() const {
    std::size_t used = 0;
    for (const auto& [f, content] : files_) used += content.size();
    return used;
  }
  std::optional<std::string> Content(const std::wstring& path) const {
    auto it = files_.find(Key(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }

  std::set<std::wstring> locked;    // keys of running programs: held for good, never writable
  std::map<std::wstring, int> heldFor;  // keys of files another program holds, for so many attempts
  std::vector<int> pauses;          // every wait between attempts
  std::set<std::wstring> readOnly;  // keys of write-protected files
  std::set<std::wstring> marked;    // keys of files carrying the download mark
  bool withoutStreams = false;      // a file system that keeps no such mark
  std::optional<std::size_t> capacity;  // bytes all files together may take
  std::vector<std::wstring> calls;
  std::map<std::wstring, StatoCartella> states;  // by key; a folder not listed reads as Protetta()
  std::set<std::wstring> refuseCreate, unreadable, unsecurable;  // keys

 private:
  // One more attempt on a file another program holds: refused while it lasts.
  bool Held(const std::wstring& k) {
    auto it = heldFor.find(k);
    if (it == heldFor.end() || it->second == 0) return false;
    --it->second;
    return true;
  }
  void Forget(const std::wstring& k) {
    files_.erase(k);
    versions_.erase(k);
    marked.erase(k);
    readOnly.erase(k);
  }

  std::set<std::wstring> folders_;
  std::map<std::wstring, std::string> files_;
  std::map<std::wstring, VersioneFile> versions_;
};

}  // namespace velisca::test

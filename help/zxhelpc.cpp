// The help writer run by the build:
//   zxhelpc --title <UTF-8 title> --base <name> --out <folder> <topic.txt>...
// writes <folder>/<name>.hlp and <folder>/<name>.cnt, or reports why not and
// fails the build.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "hlp_guide.h"
#include "hlp_writer.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw zxhelp::HelpError(path + ": impossibile leggere il file");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& bytes) {
  // Through a temporary name, so that a failed run leaves no half file that
  // a later build would take as up to date.
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw zxhelp::HelpError(temp + ": impossibile scrivere il file");
  }
  if (std::rename(temp.c_str(), path.c_str()) == 0) return;
  std::remove(path.c_str());  // Windows does not rename over an existing file
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    throw zxhelp::HelpError(path + ": impossibile scrivere il file");
  }
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string title, base, outDir;
  std::vector<std::string> sources;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--title" || args[i] == "--base" || args[i] == "--out") && i + 1 < args.size()) {
      std::string& target = args[i] == "--title" ? title : args[i] == "--base" ? base : outDir;
      target = args[++i];
    } else {
      sources.push_back(args[i]);
    }
  }
  if (title.empty() || base.empty() || outDir.empty() || sources.empty()) {
    std::cerr << "uso: zxhelpc --title <titolo> --base <nome> --out <cartella> <argomento.txt>...\n";
    return 2;
  }
  try {
    zxhelp::Guide guide;
    guide.title = zxhelp::ToWindows1252(title, "--title");
    guide.baseName = base;
    for (const std::string& source : sources) guide.topics.push_back(zxhelp::ParseTopic(ReadAll(source), BaseName(source)));
    const std::string hlp = zxhelp::WriteHelpFile(guide);
    const std::string cnt = zxhelp::WriteContentsFile(guide);
    WriteAll(outDir + "/" + base + ".hlp", hlp);
    WriteAll(outDir + "/" + base + ".cnt", cnt);
  } catch (const zxhelp::HelpError& e) {
    std::cerr << "errore nella guida: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

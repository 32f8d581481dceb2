// A file's version resource, read through version.dll loaded from the system
// folder when first needed: version.dll is no KnownDLL, so it is never
// imported.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace forms {

class VersionInfo {
 public:
  // Empty when the file has no version resource or version.dll is missing.
  explicit VersionInfo(const std::wstring& path);
  bool Empty() const { return data_.empty(); }
  // VerQueryValueW on the resource: the value and its length, or false.
  bool Query(const wchar_t* subBlock, void** value, UINT* length) const;
  // The fixed part ("\"), or nullptr.
  const VS_FIXEDFILEINFO* Fixed() const;

 private:
  std::vector<unsigned char> data_;
};

}  // namespace forms

#include "VersionInfo.h"

#include "SystemLibrary.h"

namespace forms {

namespace {

struct VersionApi {
  using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  SizeFn size = nullptr;
  InfoFn info = nullptr;
  QueryFn query = nullptr;
};

const VersionApi& Api() {
  static const VersionApi api = [] {
    const HMODULE module = LoadSystemLibrary(L"version.dll");
    VersionApi a{SystemFunction<VersionApi::SizeFn>(module, "GetFileVersionInfoSizeW"),
                 SystemFunction<VersionApi::InfoFn>(module, "GetFileVersionInfoW"),
                 SystemFunction<VersionApi::QueryFn>(module, "VerQueryValueW")};
    return a.size && a.info && a.query ? a : VersionApi{};
  }();
  return api;
}

}  // namespace

VersionInfo::VersionInfo(const std::wstring& path) {
  const VersionApi& api = Api();
  if (!api.size) return;
  DWORD ignored = 0;
  const DWORD size = api.size(path.c_str(), &ignored);
  if (size == 0) return;
  data_.resize(size);
  if (!api.info(path.c_str(), 0, size, data_.data())) data_.clear();
}

bool VersionInfo::Query(const wchar_t* subBlock, void** value, UINT* length) const {
  *value = nullptr;
  *length = 0;
  return !data_.empty() && Api().query(data_.data(), subBlock, value, length) && *value;
}

const VS_FIXEDFILEINFO* VersionInfo::Fixed() const {
  void* block = nullptr;
  UINT length = 0;
  if (!Query(L"\\", &block, &length) || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
  return info->dwSignature == 0xFEEF04BD ? info : nullptr;
}

}  // namespace forms

#include "ui/environment_report_win.h"

#include <windows.h>

#include "ui/optional_api_win.h"

namespace {

std::u16string U16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

OSVERSIONINFOEXW ReadVersion() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  const OptionalApi& api = Api();
  if (api.RtlGetVersion && api.RtlGetVersion(&info) == 0) return info;
  info = {};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
#pragma GCC diagnostic pop
  return info;
}

void ReadUac(EnvironmentFacts& f) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", 0,
                    KEY_READ, &key) != ERROR_SUCCESS) {
    return;
  }
  f.uac_key = true;
  auto read = [key](const wchar_t* name) -> std::optional<uint32_t> {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
      return std::nullopt;
    }
    return value;
  };
  f.enable_lua = read(L"EnableLUA");
  f.prompt_on_secure_desktop = read(L"PromptOnSecureDesktop");
  f.consent_admin = read(L"ConsentPromptBehaviorAdmin");
  f.consent_user = read(L"ConsentPromptBehaviorUser");
  RegCloseKey(key);
}

ReportRect ToReport(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, RECT*, LPARAM lparam) {
  auto& monitors = *reinterpret_cast<std::vector<ReportMonitor>*>(lparam);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    monitors.push_back({ToReport(info.rcMonitor), ToReport(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

void ReadScreen(EnvironmentFacts& f) {
  f.screen_width = GetSystemMetrics(SM_CXSCREEN);
  f.screen_height = GetSystemMetrics(SM_CYSCREEN);
  if (HDC screen = GetDC(nullptr)) {
    f.bits_per_pixel = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
  }
  RECT work{};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) f.work_area = ToReport(work);
  f.virtual_left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  f.virtual_top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  f.virtual_width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  f.virtual_height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  f.monitor_count = GetSystemMetrics(SM_CMONITORS);
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, LPARAM(&f.monitors));
}

void ReadTime(EnvironmentFacts& f) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  f.weekday = now.wDayOfWeek, f.month = now.wMonth, f.day = now.wDay, f.year = now.wYear;
  f.hour = now.wHour, f.minute = now.wMinute, f.second = now.wSecond;
  TIME_ZONE_INFORMATION zone{};
  const DWORD kind = GetTimeZoneInformation(&zone);
  // The offset in force now: summer time shifts it.
  f.bias_minutes = zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0);
}

}  // namespace

EnvironmentFacts ReadEnvironmentFacts(bool dark_mode) {
  EnvironmentFacts f;
  const OSVERSIONINFOEXW v = ReadVersion();
  f.platform_id = v.dwPlatformId;
  f.major = v.dwMajorVersion, f.minor = v.dwMinorVersion, f.build = v.dwBuildNumber;
  f.service_pack = U16(v.szCSDVersion);
  f.service_pack_major = v.wServicePackMajor, f.service_pack_minor = v.wServicePackMinor;
  f.product_type = v.wProductType;
  f.suite_mask = v.wSuiteMask;
  if (f.major > 5) {
    DWORD type = 0;
    const OptionalApi& api = Api();
    if (api.GetProductInfo && api.GetProductInfo(v.dwMajorVersion, v.dwMinorVersion, v.wServicePackMajor,
                                                 v.wServicePackMinor, &type)) {
      f.product_info = type;
    }
    ReadUac(f);
  }
  f.clean_boot = GetSystemMetrics(SM_CLEANBOOT);
  wchar_t country[128] = L"";
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGCOUNTRY, country, ARRAYSIZE(country)) > 0) f.country = U16(country);
  f.remote_session = GetSystemMetrics(SM_REMOTESESSION) != 0;
  f.dark_mode = dark_mode;
  ReadScreen(f);
  ReadTime(f);
  return f;
}

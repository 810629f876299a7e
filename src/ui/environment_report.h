#pragma once
// The plain-text report of the system environment that the about box copies
// to the clipboard for a user's question. The Win32 side fills the record;
// the layout is built here.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ReportRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct ReportMonitor {
  ReportRect monitor;
  ReportRect work;
  bool primary = false;
};

struct EnvironmentFacts {
  uint32_t platform_id = 2;  // 0 Win32s, 1 Win9x, 2 NT
  uint32_t major = 0, minor = 0, build = 0;
  std::u16string service_pack;  // the service-pack text ("" when none)
  uint32_t service_pack_major = 0, service_pack_minor = 0;
  uint32_t product_type = 1;
  uint32_t product_info = 0;  // 0 when GetProductInfo is missing
  uint32_t suite_mask = 0;
  int32_t clean_boot = 0;        // SM_CLEANBOOT
  std::u16string country;        // English country name of the user's locale
  bool remote_session = false;
  bool dark_mode = false;
  // The UAC policy key: absent when it cannot be opened; each value only when
  // it exists as a DWORD.
  bool uac_key = false;
  std::optional<uint32_t> enable_lua, prompt_on_secure_desktop, consent_admin, consent_user;
  int32_t screen_width = 0, screen_height = 0, bits_per_pixel = 0;
  ReportRect work_area;
  int32_t virtual_left = 0, virtual_top = 0, virtual_width = 0, virtual_height = 0;
  int32_t monitor_count = 0;
  std::vector<ReportMonitor> monitors;
  // Local time.
  int32_t weekday = 0;  // 0 Sunday
  int32_t month = 1;    // 1 January
  int32_t day = 1, year = 2000, hour = 0, minute = 0, second = 0;
  int32_t bias_minutes = 0;  // UTC = local + bias (negative east of Greenwich)
};

std::u16string FormatEnvironmentReport(const EnvironmentFacts& facts);

// The report as the clipboard gets it: cut so that it and its terminator fit
// a block of `block_bytes` bytes of UTF-16 (never inside a surrogate pair).
inline constexpr size_t kReportBlockBytes = 16384;
std::u16string CutToBlock(std::u16string_view report, size_t block_bytes = kReportBlockBytes);

// The first line of a text: up to its first control character.
std::u16string_view FirstLine(std::u16string_view text);

#include "ui/environment_report.h"

#include <cstdarg>
#include <cstdio>

#include "common/utf.h"

namespace {

constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// The report library's own version and build date, which the first line names.
constexpr unsigned kLibraryVersion[] = {1, 3, 1};
constexpr const char* kLibraryBuildDate = "May 13 2026";

class Writer {
 public:
  void Add(std::string_view text) { out_ += text; }
  void Add(const std::u16string& text) { out_ += Utf16ToUtf8(text); }
  __attribute__((format(printf, 2, 3))) void Format(const char* pattern, ...) {
    char buffer[256];
    va_list args;
    va_start(args, pattern);
    const int n = std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    if (n > 0) out_.append(buffer, size_t(n) < sizeof buffer ? size_t(n) : sizeof buffer - 1);
  }
  std::u16string Text() const { return Utf8ToUtf16(out_); }

 private:
  std::string out_;
};

const char* PlatformName(uint32_t id) {
  switch (id) {
    case 0: return "(Win32s)";
    case 1: return "(Win9x)";
    case 2: return "(NT)";
    default: return "";
  }
}

void AddProductType(Writer& w, uint32_t type) {
  switch (type) {
    case 1: w.Add("1 (Workstation)"); break;
    case 2: w.Add("2 (Domain Controller)"); break;
    case 3: w.Add("3 (Server)"); break;
    default: w.Format("%u", type); break;
  }
}

const char* SafeMode(int32_t clean_boot) {
  switch (clean_boot) {
    case 1: return "Fail-safe boot";
    case 2: return "Fail-safe with network boot";
    default: return "Off";
  }
}

void AddUac(Writer& w, const EnvironmentFacts& f) {
  if (f.major <= 5 || !f.uac_key) return;
  w.Add("\r\n[User Account Control]\r\n ");
  const struct {
    const char* label;
    const std::optional<uint32_t>& value;
  } items[] = {{"EnableLUA=", f.enable_lua},
               {", PromptOnSecureDesktop=", f.prompt_on_secure_desktop},
               {", ConsentPromptBehaviorAdmin=", f.consent_admin},
               {", ConsentPromptBehaviorUser=", f.consent_user}};
  for (const auto& item : items) {
    w.Add(item.label);
    if (item.value) w.Format("%u", *item.value);
  }
}

void AddScreen(Writer& w, const EnvironmentFacts& f) {
  w.Add("\r\n[Screen]\r\n ");
  w.Format("%dx%d (%dbpp) ", f.screen_width, f.screen_height, f.bits_per_pixel);
  w.Format("[Work Area (%d,%d)-(%d,%d)]", f.work_area.left, f.work_area.top, f.work_area.right, f.work_area.bottom);
  w.Add("\r\n Virtual Screen: ");
  w.Format("(%d,%d)-(%d,%d) [Monitors:%d]", f.virtual_left, f.virtual_top, f.virtual_left + f.virtual_width,
           f.virtual_top + f.virtual_height, f.monitor_count);
  for (const ReportMonitor& m : f.monitors) {
    w.Add("\r\n Monitor Info :");
    w.Format(" (%d,%d)-(%d,%d) [%s (%d,%d)-(%d,%d)]", m.monitor.left, m.monitor.top, m.monitor.right,
             m.monitor.bottom, "Workarea", m.work.left, m.work.top, m.work.right, m.work.bottom);
    if (m.primary) w.Add(" *primary");
  }
}

void AddTime(Writer& w, const EnvironmentFacts& f) {
  w.Add("\r\n[Other]");
  w.Add("\r\n Date/Time \t: ");
  const char* weekday = f.weekday >= 0 && f.weekday < 7 ? kWeekdays[f.weekday] : "?";
  const char* month = f.month >= 1 && f.month <= 12 ? kMonths[f.month - 1] : "?";
  w.Format("%s, %s %d, %d %2d:%02d:%02d", weekday, month, f.day, f.year, f.hour, f.minute, f.second);
  const int32_t bias = f.bias_minutes < 0 ? -f.bias_minutes : f.bias_minutes;
  w.Format(f.bias_minutes < 0 ? "(UTC+%02d:%02d)" : "(UTC-%02d:%02d)", bias / 60, bias % 60);
}

}  // namespace

std::u16string FormatEnvironmentReport(const EnvironmentFacts& f) {
  Writer w;
  w.Format("ZNVLite ver.%u.%02u.%02u [%s]\r\n", kLibraryVersion[0], kLibraryVersion[1], kLibraryVersion[2],
           kLibraryBuildDate);
  w.Add("[Windows]");
  w.Add("\r\n Platform Id\t: ");
  w.Format("%u %s", f.platform_id, PlatformName(f.platform_id));
  // Before NT the build number's high word repeats the version.
  const uint32_t build = f.platform_id != 2 && f.build > 0xFFFF ? (f.build & 0xFFFF) : f.build;
  w.Add("\r\n OS Version  \t: ");
  w.Format("%u.%u.%u ", f.major, f.minor, build);
  w.Add(f.service_pack);
  w.Add("\r\n ServicePack\t: ");
  w.Format("%u.%u ", f.service_pack_major, f.service_pack_minor);
  w.Add("\r\n Architecture\t: x64");
  w.Add("\r\n ProductType\t: ");
  AddProductType(w, f.product_type);
  if (f.major > 5) {
    w.Add("\r\n ProductInfo.\t: ");
    w.Format("0x%08x", f.product_info);
  }
  w.Add("\r\n SuiteMask\t: ");
  w.Format("0x%04x", f.suite_mask);
  w.Add("\r\n SafeMode\t: ");
  w.Add(SafeMode(f.clean_boot));
  w.Add("\r\n Locale Info\t: ");
  w.Add(f.country);
  w.Add("\r\n Remote Session \t: ");
  w.Add(f.remote_session ? "On" : "Off");
  w.Add("\r\n Dark Mode \t: ");
  w.Add(f.dark_mode ? "On" : "Off");
  AddUac(w, f);
  AddScreen(w, f);
  AddTime(w, f);
  return w.Text();
}

std::u16string CutToBlock(std::u16string_view report, size_t block_bytes) {
  const size_t max_units = block_bytes / sizeof(char16_t);
  if (max_units == 0) return {};
  size_t n = report.size() < max_units - 1 ? report.size() : max_units - 1;
  // Never leave half of a surrogate pair at the end.
  if (n > 0 && n < report.size() && report[n - 1] >= 0xD800 && report[n - 1] <= 0xDBFF) --n;
  return std::u16string(report.substr(0, n));
}

std::u16string_view FirstLine(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] >= 0x20) ++i;
  return text.substr(0, i);
}

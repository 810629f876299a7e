#include "settings/store_messages.h"

namespace {

constexpr std::u16string_view kSeparator = u"\r\n-----\r\n";
constexpr std::u16string_view kHkcu = u"HKEY_CURRENT_USER\\";
constexpr std::u16string_view kReportRequest =
    u"このメッセージが表示されたら、現在編集している/していたダイアログの名前を、メッセージの内容と共に正確に作者まで報告して下さい。";

std::u16string Join(std::initializer_list<std::u16string_view> pieces) {
  std::u16string text;
  for (std::u16string_view p : pieces) text += p;
  return text;
}

std::u16string JapaneseWarning(RegwWarning warning) {
  switch (warning) {
    case RegwWarning::AutoClose: return Join({u"レジストリを自動クローズしました。\n", kReportRequest});
    case RegwWarning::MultipleOpen:
      return Join({u"レジストリキーを多重オープンしようとしたので保護しました(REGW::OpenKey())。\n", kReportRequest});
    case RegwWarning::ReadString:
      return Join({u"開かれていないキーを対象に ReadStringW が行われようとしたので保護します。\n", kReportRequest});
    case RegwWarning::ReadInteger:
      return Join({u"開かれていないキーを対象に ReadIntegerW が行われようとしたので保護します。\n", kReportRequest});
    case RegwWarning::WriteString:
      return Join({u"開かれていないキーを対象に WriteStringW が行われようとしたので保護します。\n", kReportRequest});
    case RegwWarning::WriteInteger:
      return Join({u"開かれていないキーを対象に WriteIntegerW が行われようとしたので保護します。\n", kReportRequest});
    case RegwWarning::WriteBinary:
      return Join({u"開かれていないキーを対象に WriteBinaryW が行われようとしたので保護します。\n", kReportRequest});
    case RegwWarning::MultipleClose:
      return Join({u"レジストリを多重クローズしようとしたので保護しました(REGW::CloseKey)。\n", kReportRequest});
  }
  return {};
}

std::u16string_view EnglishWarning(RegwWarning warning) {
  switch (warning) {
    case RegwWarning::AutoClose: return u"An error has occurred in REGW::~REGW().";
    case RegwWarning::MultipleOpen: return u"An error has occurred in REGW::OpenKey().";
    case RegwWarning::ReadString: return u"An error has occurred in ReadStringW.";
    case RegwWarning::ReadInteger: return u"An error has occurred in ReadIntegerW.";
    case RegwWarning::WriteString: return u"An error has occurred in WriteStringW.";
    case RegwWarning::WriteInteger: return u"An error has occurred in WriteIntegerW.";
    case RegwWarning::WriteBinary: return u"An error has occurred in WriteBinaryW.";
    case RegwWarning::MultipleClose: return u"An error has occurred in REGW::CloseKey().";
  }
  return {};
}

}  // namespace

void AppendErrorLine(std::u16string& errors, std::u16string_view line) {
  if (!errors.empty()) errors += kSeparator;
  errors += line;
}

std::u16string IniWriteErrorLine(std::u16string_view ini_path, std::u16string_view key, Language language) {
  if (language == Language::Japanese) {
    return Join({ini_path, u"の[", kIniSection, u"]セクションの", key, u"に値を書き込めません。"});
  }
  return Join({ini_path, u"[", kIniSection, u"] - ", key, u" write error."});
}

std::u16string RegistryWriteErrorLine(std::u16string_view subkey, std::u16string_view key, Language language) {
  if (language == Language::Japanese) return Join({kHkcu, subkey, u" - ", key, u"へデータを書き込めません。"});
  return Join({u"Cannot write data - ", kHkcu, subkey, u" - ", key});
}

std::u16string RegistryOpenErrorLine(std::u16string_view subkey, Language language) {
  if (language == Language::Japanese) return Join({kHkcu, subkey, u"を開けません。"});
  return Join({u"Cannot open - ", kHkcu, subkey});
}

std::u16string RegwWarningText(RegwWarning warning, Language language) {
  if (language == Language::Japanese) return JapaneseWarning(warning);
  return std::u16string(EnglishWarning(warning));
}

CopyResultMessage CopyResultText(StoreCopy copy, bool succeeded, Language language) {
  const bool ja = language == Language::Japanese;
  if (copy == StoreCopy::IniToRegistry) {
    if (succeeded) {
      return {ja ? u"iniファイルからレジストリへ設定をコピーしました。"
                 : u"Setting copying from the ini file to the registry has been completed.",
              MessageIcon::Information};
    }
    return {ja ? u"iniファイルからレジストリへ設定をコピーできませんでした。"
               : u"Setting copying from the ini file to the registry - failed.",
            MessageIcon::Error};
  }
  // Both outcomes of the registry-to-INI copy carry the information icon.
  if (succeeded) {
    return {ja ? u"レジストリからiniファイルへ設定をコピーしました。"
               : u"Setting copying from the registry to the ini file has been completed.",
            MessageIcon::Information};
  }
  return {ja ? u"レジストリからiniファイルへ設定をコピーできませんでした。"
             : u"Setting copying from the registry to the ini file - failed.",
          MessageIcon::Information};
}

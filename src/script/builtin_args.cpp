#include "script/builtin_args.h"

#include <algorithm>

ArgText::ArgText(const ScriptValue& value) {
  if (value.isString || value.isArray) {
    view_ = value.text;
  } else {
    own_ = ToString(value);
    view_ = own_;
  }
}

size_t CharLengthAt(std::string_view text, size_t at) {
  unsigned char lead = static_cast<unsigned char>(text[at]);
  size_t length = 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
  }
  return std::min(length, text.size() - at);
}


bool IsValidArrayName(std::string_view name) {
  if (name.empty() || !(name[0] == '_' || IsAsciiLetter(name[0]))) return false;
  for (char c : name.substr(1)) {
    if (!(c == '_' || IsAsciiLetter(c) || IsAsciiDigit(c))) return false;
  }
  return true;
}

bool TakeArrayName(BuiltinContext& context, const ScriptValue& argument,
                   std::string_view function, std::string& name) {
  name = UpperAscii(ArgText(argument).view());
  if (IsValidArrayName(name)) return true;
  std::string message(function);
  if (context.japanese()) {
    message += "()で指定されている配列変数名が無効です。変数名を文字列で指定してください。";
  } else {
    message = "The array variable name is invalid in function " + message + "().";
  }
  context.reportError(kErrorArrayName, -1, message);
  return false;
}

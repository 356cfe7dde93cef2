#include "wrappers/wrapper_calls.h"

#include <objbase.h>

namespace WrapperCalls {

std::string TakeText(LPWSTR text, CodePage codePage) {
  if (text == nullptr) return std::string();
  std::string converted = TextFromWide(text, codePage);
  CoTaskMemFree(text);
  return converted;
}

}  // namespace WrapperCalls

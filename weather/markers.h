// The fixed GBK texts the weather banner is cut from and put together with.
// They are bytes, compared as bytes: the page has to arrive in GBK to match.
#pragma once
#include <string>
#include <string_view>

namespace weather {

inline constexpr std::string_view kConditionStart = "<span class=\"phrase\">";
inline constexpr std::string_view kConditionEnd = "</span></li><li class=\"ord2\">";
inline constexpr std::string_view kDateStart = "<p class=\"date\">" "\xA3\xA8";   // （
inline constexpr std::string_view kDateEnd = "\xA3\xA9" "</p><p class=\"tips\">";   // ）
inline constexpr std::string_view kHighStart = "<b>" "\xD7\xEE\xB8\xDF\xA3\xBA" "</b>";  // 最高：
inline constexpr std::string_view kHighEnd = "<i>" "\xA1\xE6" "</i></span>";             // ℃

inline constexpr std::string_view kHighest = " " "\xD7\xEE\xB8\xDF" " ";  // " 最高 "
inline constexpr std::string_view kDegreesCelsius = "\xA1\xE6";          // ℃

// The date label: date, " 最高 ", the high temperature and "℃", nothing
// dropped when a part is empty.
inline std::string dateCaption(std::string_view date, std::string_view high) {
  std::string caption;
  caption.reserve(date.size() + kHighest.size() + high.size() + kDegreesCelsius.size());
  caption.append(date).append(kHighest).append(high).append(kDegreesCelsius);
  return caption;
}

}  // namespace weather

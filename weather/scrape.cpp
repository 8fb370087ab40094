#include "weather/scrape.h"

#include "text/search.h"
#include "weather/markers.h"

namespace weather {

WeatherItems scrapeWeather(std::string_view page) {
  // The page's markup may come in capitals; the markers match either case.
  auto cut = [page](std::string_view start, std::string_view end) {
    return text::textBetween(page, start, end, 0, false);
  };
  return {cut(kConditionStart, kConditionEnd), cut(kDateStart, kDateEnd), cut(kHighStart, kHighEnd)};
}

}  // namespace weather

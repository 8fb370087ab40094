#include "weather/scrape.h"

#include "text/search.h"
#include "weather/markers.h"

namespace weather {

WeatherMarkers fixedMarkers() {
  return {{std::string(kConditionStart), std::string(kConditionEnd)},
          {std::string(kDateStart), std::string(kDateEnd)},
          {std::string(kHighStart), std::string(kHighEnd)}};
}

WeatherMarkers markersOrFixed(WeatherMarkers user) {
  const WeatherMarkers fixed = fixedMarkers();
  auto fill = [](std::string& marker, const std::string& fallback) {
    if (marker.empty()) marker = fallback;
  };
  fill(user.condition.start, fixed.condition.start);
  fill(user.condition.end, fixed.condition.end);
  fill(user.date.start, fixed.date.start);
  fill(user.date.end, fixed.date.end);
  fill(user.high.start, fixed.high.start);
  fill(user.high.end, fixed.high.end);
  return user;
}

WeatherItems scrapeWeather(std::string_view page, const WeatherMarkers& markers) {
  // The page's markup may come in capitals; the markers match either case.
  auto cut = [page](const MarkerPair& pair) { return text::textBetween(page, pair.start, pair.end, 0, false); };
  return {cut(markers.condition), cut(markers.date), cut(markers.high)};
}

WeatherItems scrapeWeather(std::string_view page) { return scrapeWeather(page, fixedMarkers()); }

}  // namespace weather

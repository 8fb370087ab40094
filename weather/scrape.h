// Cutting the banner's three items out of the fetched weather page.
#pragma once
#include <string>
#include <string_view>

namespace weather {

struct WeatherItems {
  std::string condition;  // caption of the condition label, raw page bytes
  std::string date;       // without the full-width brackets around it
  std::string high;       // the day's high temperature, without its unit
};

// Each item on its own: a missing marker empties only that item.
WeatherItems scrapeWeather(std::string_view page);

}  // namespace weather

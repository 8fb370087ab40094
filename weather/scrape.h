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

// What one item is cut between.
struct MarkerPair {
  std::string start;
  std::string end;
};

struct WeatherMarkers {
  MarkerPair condition;
  MarkerPair date;
  MarkerPair high;
};

// The markers of the page layout the bar was made for.
WeatherMarkers fixedMarkers();
// Markers a user wrote down (bytes as in the file): each empty one is the
// fixed marker in its place, so a partial set changes only what it names.
WeatherMarkers markersOrFixed(WeatherMarkers user);

// Each item on its own: a missing marker empties only that item.
WeatherItems scrapeWeather(std::string_view page, const WeatherMarkers& markers);
WeatherItems scrapeWeather(std::string_view page);

}  // namespace weather

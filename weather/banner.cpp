#include "weather/banner.h"

#include <windows.h>

#include <vector>

#include "app/main_window.h"
#include "app/profile.h"
#include "app/shared_state.h"
#include "text/search.h"
#include "weather/fetch.h"
#include "weather/markers.h"
#include "weather/scrape.h"

namespace weather {

std::string weatherAddress() {
  return app::readProfileString(app::dataFilePath("tianq.txt"), "wangzhi", "tianq", "");
}

WeatherMarkers weatherMarkers() {
  const std::string file = app::dataFilePath("tianq.txt");
  auto read = [&file](const char* key) { return app::readProfileString(file, "wangzhi", key, ""); };
  WeatherMarkers user;
  user.condition = {read("zhuangkuang1"), read("zhuangkuang2")};
  user.date = {read("riqi1"), read("riqi2")};
  user.high = {read("zuigao1"), read("zuigao2")};
  return markersOrFixed(std::move(user));
}

void loadWeatherBanner() {
  app::SharedState& s = app::state();
  app::Bar& bar = app::bar();
  const std::vector<std::uint8_t> bytes = fetchPage(weatherAddress());
  s.weatherPage = text::textUpToNul(bytes);
  WeatherItems items = scrapeWeather(s.weatherPage, weatherMarkers());
  bar.conditionLabel->setCaption(std::move(items.condition));
  s.weatherDate = std::move(items.date);
  s.highTemperature = std::move(items.high);
  bar.dateLabel->setCaption(dateCaption(s.weatherDate, s.highTemperature));
}

std::span<const std::uint8_t> pictureBytes(WeatherPicture picture) {
  const std::string name(pictureFile(picture).resourceName);
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

void showConditionPicture() {
  app::Bar& bar = app::bar();
  const std::optional<WeatherPicture> picture = pictureForCondition(bar.conditionLabel->caption());
  if (!picture) return;  // the box stays as it is: white
  bar.conditionPicture->setPicture(pictureBytes(*picture));
}

}  // namespace weather

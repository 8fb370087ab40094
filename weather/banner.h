// The weather banner, filled once while the window is created.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "weather/conditions.h"
#include "weather/scrape.h"

namespace weather {

// The address from data\tianq.txt (section wangzhi, key tianq), empty when missing.
std::string weatherAddress();
// The markers the page is cut with: keys zhuangkuang1/2 (condition), riqi1/2
// (date) and zuigao1/2 (high) of the same section, each missing or empty one
// the fixed marker.
WeatherMarkers weatherMarkers();
// Fetches and scrapes the page into 天气状况, weatherDate, highTemperature and 日期标签.
void loadWeatherBanner();
// Shows the picture that goes with the caption of 天气状况 in 图片框1.
void showConditionPicture();
// The embedded PNG of a picture; empty when the resource is missing.
std::span<const std::uint8_t> pictureBytes(WeatherPicture picture);

}  // namespace weather

#include "weather/conditions.h"

namespace weather {

namespace {

using enum WeatherPicture;

constexpr ConditionName kNames[] = {
    {"\xC7\xE7", Sun},                                              // 晴
    {"\xD2\xF5", Overcast},                                         // 阴
    {"\xB6\xE0\xD4\xC6\xD7\xAA\xD2\xF5", SunCloud},                 // 多云转阴
    {"\xB6\xE0\xD4\xC6\xD7\xAA\xC7\xE7", SunCloud},                 // 多云转晴
    {"\xD0\xA1\xD3\xEA", LightRain},                                // 小雨
    {"\xB4\xF3\xD3\xEA", HeavyRain},                                // 大雨
    {"\xD2\xF5\xD7\xAA\xC7\xE7", Clouds},                           // 阴转晴
    {"\xB6\xE0\xD4\xC6", SunCloud},                                 // 多云
    {"\xD0\xA1\xD3\xEA\xD7\xAA\xD2\xF5", RainCloud},                // 小雨转阴
    {"\xD6\xD0\xD3\xEA\xD7\xAA\xB6\xE0\xD4\xC6", HeavyRain},        // 中雨转多云
    {"\xD5\xF3\xD3\xEA", Showers},                                  // 阵雨
};

// In enum order, so a picture indexes its own row.
constexpr PictureFile kFiles[] = {
    {Sun, "sun.png", "WEATHER_SUN", 34, 35},
    {Overcast, "overcast.png", "WEATHER_OVERCAST", 55, 30},
    {SunCloud, "sun_cloud.png", "WEATHER_SUN_CLOUD", 55, 35},
    {LightRain, "light_rain.png", "WEATHER_LIGHT_RAIN", 43, 41},
    {HeavyRain, "heavy_rain.png", "WEATHER_HEAVY_RAIN", 54, 42},
    {Clouds, "clouds.png", "WEATHER_CLOUDS", 52, 27},
    {RainCloud, "rain_cloud.png", "WEATHER_RAIN_CLOUD", 44, 44},
    {Showers, "showers.png", "WEATHER_SHOWERS", 54, 45},
};

constexpr bool filesInEnumOrder() {
  for (std::size_t i = 0; i < std::size(kFiles); ++i) {
    if (static_cast<std::size_t>(kFiles[i].picture) != i) return false;
  }
  return true;
}
static_assert(filesInEnumOrder());

}  // namespace

std::span<const ConditionName> conditionNames() { return kNames; }

std::optional<WeatherPicture> pictureForCondition(std::string_view caption) {
  for (const ConditionName& name : kNames) {
    if (name.caption == caption) return name.picture;
  }
  return std::nullopt;
}

const PictureFile& pictureFile(WeatherPicture picture) { return kFiles[static_cast<std::size_t>(picture)]; }

std::span<const PictureFile> pictureFiles() { return kFiles; }

}  // namespace weather

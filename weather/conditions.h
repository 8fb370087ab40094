// Which of the eight embedded pictures goes with a condition caption.
#pragma once
#include <optional>
#include <span>
#include <string_view>

namespace weather {

enum class WeatherPicture { Sun, Overcast, SunCloud, LightRain, HeavyRain, Clouds, RainCloud, Showers };

struct ConditionName {
  std::string_view caption;  // GBK
  WeatherPicture picture;
};

// Tried in this order; the first name equal to the whole caption wins.
std::span<const ConditionName> conditionNames();

// The picture for a caption compared byte for byte (no trimming, no folding);
// nothing for an empty or unknown caption.
std::optional<WeatherPicture> pictureForCondition(std::string_view caption);

struct PictureFile {
  WeatherPicture picture;
  std::string_view fileName;      // under resources/weather/
  std::string_view resourceName;  // RCDATA name in the program
  int width;
  int height;
};

const PictureFile& pictureFile(WeatherPicture picture);
std::span<const PictureFile> pictureFiles();

}  // namespace weather

#pragma once
// The windows' sizes and places are given, and stored in the settings, in
// twips, at 15 twips to a pixel.
namespace tarnik {

inline constexpr int kTwipsPerPixel = 15;

// Rounded to the nearest pixel.
[[nodiscard]] constexpr int pixelsFromTwips(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
[[nodiscard]] constexpr int twipsFromPixels(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace tarnik

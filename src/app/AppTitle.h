#pragma once

inline constexpr const char* ApplicationTitle = "Zantreo Kestrum";
inline constexpr const char* MainCaption = "Zantreo - Kestrum 2.07";

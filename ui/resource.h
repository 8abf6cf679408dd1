// Resource and control identifiers of the program's dialogs, strings and icon.
#pragma once

#include "settings/weather_series.h"  // the twelve check boxes' IDC_ ids

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_MAIN_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

inline constexpr int IDC_FORECAST = 3;
inline constexpr int IDC_LOCATION = 1000;
inline constexpr int IDC_LATITUDE = 1002;
inline constexpr int IDC_LONGITUDE = 1003;
inline constexpr int IDC_ELEVATION = 1004;
inline constexpr int IDC_UNITS = 1005;
inline constexpr int IDC_ADDRESS = 1006;
inline constexpr int IDC_SAVE_LOCATION = 1007;
inline constexpr int IDC_LATITUDE_DMS = 1011;
inline constexpr int IDC_LONGITUDE_DMS = 1021;

// The display flags as last loaded or saved, held for the whole run.
#pragma once

#include "platform/interfaces/win_bool.h"

class CPreferences {
 public:
  virtual ~CPreferences();

  BOOL m_bDewPoint;
  BOOL m_bPrecipitationPotential;
  BOOL m_bRelativeHumidity;
  BOOL m_bSkyCover;
  BOOL m_bSurfaceWinds;
  BOOL m_bTemperature;
  BOOL m_bWindChill;
  BOOL m_bRain;
  BOOL m_bThunder;
  BOOL m_bSnow;
  BOOL m_bFreezingRain;
  BOOL m_bSleet;
};

// Zero until LoadPreferences runs (static storage).
extern CPreferences thePreferences;

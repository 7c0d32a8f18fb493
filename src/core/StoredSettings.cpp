#include "core/StoredSettings.h"

#include "core/Rounding.h"

TStoredSettings ReadStoredSettings(const TSettingsFile& ini) {
  TStoredSettings s;
  auto read = [&](const char* section, const char* key, int32_t& v) {
    v = ini.ReadInteger(section, key, v);
  };
  read("Form", "Top", s.FormTop);
  read("Form", "Left", s.FormLeft);
  read("Form", "CmbB_LineWidth", s.LineWidthItem);
  read("Form", "CmbB_AxisWidth", s.AxisWidthItem);
  read("KestoF", "Top", s.Top);
  read("KestoF", "Left", s.Left);
  read("KestoF", "ClientWidth", s.ClientWidth);
  read("KestoF", "ClientHeight", s.ClientHeight);
  read("KestoF", "Color_BackGround", s.ColorBackGround);
  read("KestoF", "Color_Min", s.ColorMin);
  read("KestoF", "Color_High", s.ColorHigh);
  read("KestoF", "Color_Axis_X", s.ColorAxisX);
  read("KestoF", "Color_Axis_Y", s.ColorAxisY);
  read("KestoF", "Color_Axis_Z", s.ColorAxisZ);
  read("KestoF", "DrawMode", s.DrawMode);
  read("KestoF", "AxisMode", s.AxisMode);
  read("KestoF", "Angle1", s.Angle1);
  read("KestoF", "Angle2", s.Angle2);
  read("KestoF", "Angle3", s.Angle3);
  read("KestoF", "Spec", s.Spec);
  read("KestoF", "SurfaceMode", s.SurfaceMode);
  return s;
}

void WriteStoredSettings(TSettingsFile& ini, const TStoredSettings& s) {
  auto write = [&](const char* section, const char* key, int32_t v) {
    ini.WriteInteger(section, key, v);
  };
  write("Form", "Top", s.FormTop);
  write("Form", "Left", s.FormLeft);
  write("Form", "CmbB_LineWidth", s.LineWidthItem);
  write("Form", "CmbB_AxisWidth", s.AxisWidthItem);
  write("KestoF", "Top", s.Top);
  write("KestoF", "Left", s.Left);
  write("KestoF", "ClientWidth", s.ClientWidth);
  write("KestoF", "ClientHeight", s.ClientHeight);
  write("KestoF", "Color_BackGround", s.ColorBackGround);
  write("KestoF", "Color_Min", s.ColorMin);
  write("KestoF", "Color_High", s.ColorHigh);
  write("KestoF", "Color_Axis_X", s.ColorAxisX);
  write("KestoF", "Color_Axis_Y", s.ColorAxisY);
  write("KestoF", "Color_Axis_Z", s.ColorAxisZ);
  write("KestoF", "DrawMode", s.DrawMode);
  write("KestoF", "AxisMode", s.AxisMode);
  write("KestoF", "SurfaceMode", s.SurfaceMode);
  write("KestoF", "Angle1", s.Angle1);
  write("KestoF", "Angle2", s.Angle2);
  write("KestoF", "Angle3", s.Angle3);
  write("KestoF", "Spec", s.Spec);
}

void ApplyStoredView(const TStoredSettings& s, TKestoState& k) {
  k.ColorBackGround = s.ColorBackGround;
  k.ColorMin = s.ColorMin;
  k.ColorHigh = s.ColorHigh;
  k.ColorAxisX = s.ColorAxisX;
  k.ColorAxisY = s.ColorAxisY;
  k.ColorAxisZ = s.ColorAxisZ;
  k.DrawMode = s.DrawMode;
  k.AxisMode = s.AxisMode;
  k.Angle1 = s.Angle1;
  k.Angle2 = s.Angle2;
  k.Angle3 = TurnInRange(s.Angle3);
  k.Spec = s.Spec;
  k.SurfaceMode = s.SurfaceMode;
}

int32_t StoredAngle(double degrees) {
  const double r = RoundHalfEven(degrees);
  if (!(r >= INT32_MIN && r <= INT32_MAX)) return 0;
  return int32_t(r);
}

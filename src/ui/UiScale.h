// The display scale every widget multiplies its layout numbers by: the
// running entry function's SharedSettings.uiScale, or 1.0 when there is none
// (tests that build widgets without the entry function).
#pragma once

double CurrentUiScale();
void SetCurrentUiScale(double scale);
